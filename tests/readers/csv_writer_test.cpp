#include "readers/csv_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace logfsm {
namespace {

TEST(CsvWriterTest, WritesAQuotedRowPerEventAndSaysWhatItChanged) {
  event_log log;
  log.add_event("a,b", 0);
  log.add_event("say \"hi\"");
  log.end_line("x");
  log.end_line("y");
  log.add_event("c\r", 253402300800000000);  // 10000-01-01
  log.end_line("x");
  log.add_event("d\n", -1);
  log.end_line("3");
  std::string text;
  EXPECT_EQ(
      write_csv_log(log, text),
      (std::vector<std::string>{
          "1 empty trace left out (trace 2)",
          "1 trace without a case id of its own written with its number (trace 3)",
          "1 time outside the years 0000 to 9999 written empty (trace 3, event 1)"}));
  EXPECT_EQ(text,
            "case:concept:name,concept:name,time:timestamp\n"
            "x,\"a,b\",1970-01-01T00:00:00.000000Z\n"
            "x,\"say \"\"hi\"\"\",\n"
            "#3,\"c\r\",\n"
            "3,\"d\n\",1969-12-31T23:59:59.999999Z\n");
}

}  // namespace
}  // namespace logfsm
