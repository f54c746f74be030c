#include "view/view_page.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "readers/text_log.h"
#include "support/fixtures.h"

namespace logfsm {
namespace {

// A machine whose names could end a <script> element or a JavaScript line.
machine_shape odd_model() {
  return testing::shape_of_texts({"s0(-1)", "</script>(0)", "a\xE2\x80\xA8" "b(0)"},
                                 {{0, 1}, {1, 2}}, {2});
}

TEST(ViewPageTest, DataIsScriptSafeJsonOfTheModelAndItsUsage) {
  const machine_shape model = odd_model();
  const event_log log = parse_log("</script>;a\xE2\x80\xA8" "b;\nx;\n");
  const std::string data = view_data("m&.json", "l.txt", model, log,
                                     count_usage(model, compile_model(model), log, 20));
  for (const char* unsafe : {"<", ">", "&", "\xE2\x80\xA8"}) {
    EXPECT_EQ(data.find(unsafe), std::string::npos) << unsafe;
  }
  const nlohmann::json json = nlohmann::json::parse(data);
  EXPECT_EQ(json["model"], "m&.json");
  EXPECT_EQ(json["states"][1]["name"], "</script>");
  EXPECT_EQ(json["states"][1]["id"], 0);
  EXPECT_EQ(json["states"][0]["name"], "s0");
  EXPECT_EQ(json["states"][0]["initial"], true);
  EXPECT_EQ(json["states"][2]["accepting"], true);
  EXPECT_EQ(json["transitions"][1]["from"], 1);
  EXPECT_EQ(json["transitions"][1]["to"], 2);
  EXPECT_EQ(json["transitions"][1]["track"], "a\xE2\x80\xA8" "b");
  EXPECT_EQ(json["transitions"][1]["traces"], 1);
  EXPECT_EQ(json["transitions"][1]["examples"], nlohmann::json::array({1}));
  EXPECT_EQ(json["traces"][0]["accepted"], true);
  EXPECT_EQ(json["runs"][json["traces"][0]["run"].get<int>()], nlohmann::json::array({0, 1}));
  // A rejection in check's words, with where it stopped and why.
  EXPECT_EQ(json["traces"][1]["reason"], "event not allowed");
  EXPECT_EQ(json["traces"][1]["position"], 1);
  EXPECT_EQ(json["traces"][1]["event"], "x");
  EXPECT_EQ(json["traces"][1]["allowed"], nlohmann::json::array({"</script>"}));
  EXPECT_EQ(json["traces"][1]["stops"], nlohmann::json::array({0}));
  EXPECT_EQ(json["traces"][1]["explanation"],
            "line 2: event 1 \"x\" is not allowed at the start; allowed: \"</script>\"");
  EXPECT_EQ(json["accepted"], 1);
  EXPECT_EQ(json["names"], nlohmann::json::parse(R"(["</script>","a\u2028b","x"])"));
  EXPECT_EQ(json["variants"], nlohmann::json::parse(R"([{"count":1,"lines":[1],"events":[0,1]},
                                                        {"count":1,"lines":[2],"events":[2]}])"));
  EXPECT_FALSE(json.contains("cases"));
}

TEST(ViewPageTest, DataNamesTheCaseOfEveryLineWhenTheLogHasCases) {
  const machine_shape model = odd_model();
  event_log log;
  log.add_event("x");
  log.end_line("c<1>");
  log.end_line();
  const nlohmann::json json = nlohmann::json::parse(
      view_data("m", "l", model, log, count_usage(model, compile_model(model), log, 20)));
  EXPECT_EQ(json["cases"], nlohmann::json::parse(R"(["c<1>", ""])"));
}

TEST(ViewPageTest, PageReplacesEachMarkerOnce) {
  const view_assets assets{"<title><!-- logfsm:title --></title>\n<!-- logfsm:style -->\n"
                           "<!-- logfsm:data -->\n<!-- logfsm:libraries -->\n"
                           "<!-- logfsm:script -->\n",
                           "CSS", {"A", "B"}, "VIZ", "PAN"};
  EXPECT_EQ(view_page(assets, "a<b>.json", "{}"),
            "<title>a&lt;b&gt;.json</title>\n<style>\nCSS</style>\n"
            "<script type=\"application/json\" id=\"logfsm-data\">{}</script>\n"
            "<script>\nVIZ\n</script>\n<script>\nPAN\n</script>\n<script>\nAB</script>\n");
}

}  // namespace
}  // namespace logfsm
