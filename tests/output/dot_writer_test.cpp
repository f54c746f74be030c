#include "output/dot_writer.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/fixtures.h"

namespace logfsm {
namespace {

using testing::dot_text;
using testing::st;
using testing::tr;

// s0 -> A/0 -> B/0 -> A/0, with A/0 accepting at every end that holds it.
machine example_machine() {
  const fsm_state a = st("A", 0);
  const fsm_state b = st("B", 0);
  *a.accepting = true;
  machine m;
  m.insert(tr(b, a));
  m.insert(tr(a, b));
  m.insert(tr(fsm_state(), a));
  return m;
}

TEST(DotWriterTest, WorkedExample) {
  EXPECT_EQ(dot_text(example_machine()),
            R"dot(Digraph {
node [shape = doublecircle];"A(0)" "A(0)" "A(0)" ;
node [shape = circle];
"s0(-1)"->"A(0)"[label = "A"]
"A(0)"->"B(0)"[label = "B"]
"B(0)"->"A(0)"[label = "A"]
}
)dot");
}

TEST(DotWriterTest, EmptyMachineEndsWithTheBraceAlone) {
  std::ostringstream out;
  std::ostream& returned = write_dot(out, machine());
  EXPECT_EQ(&returned, &out);
  EXPECT_EQ(out.str(),
            "Digraph {\nnode [shape = doublecircle];\nnode [shape = circle];\n}");
}

TEST(DotWriterTest, NoAcceptingEndLeavesTheListOut) {
  machine m;
  m.insert(tr(fsm_state(), st("a", 0)));
  m.insert(tr(st("a", 0), st("b", 3)));
  EXPECT_EQ(dot_text(m), R"dot(Digraph {
node [shape = doublecircle];
node [shape = circle];
"s0(-1)"->"a(0)"[label = "a"]
"a(0)"->"b(3)"[label = "b"]
}
)dot");
}

// Every accepting transition end is listed where it is met: transitions in
// order, `from` before `to`. Only copies whose own flag is set count.
TEST(DotWriterTest, AcceptingListFollowsTheTransitionEnds) {
  const fsm_state a = st("a", 0);
  const fsm_state b = st("b", 0);
  const fsm_state b_made_apart = st("b", 0);
  *a.accepting = true;
  *b.accepting = true;
  machine m;
  m.insert(tr(b_made_apart, st("c", 0)));
  m.insert(tr(a, b));
  m.insert(tr(fsm_state(), b));
  EXPECT_EQ(dot_text(m), R"dot(Digraph {
node [shape = doublecircle];"b(0)" "a(0)" "b(0)" ;
node [shape = circle];
"s0(-1)"->"b(0)"[label = "b"]
"a(0)"->"b(0)"[label = "b"]
"b(0)"->"c(0)"[label = "c"]
}
)dot");
}

TEST(DotWriterTest, AcceptingSelfLoopIsListedTwice) {
  const fsm_state a = st("a", -2);
  *a.accepting = true;
  machine m;
  m.insert(tr(a, a));
  EXPECT_EQ(dot_text(m), R"dot(Digraph {
node [shape = doublecircle];"a(-2)" "a(-2)" ;
node [shape = circle];
"a(-2)"->"a(-2)"[label = "a"]
}
)dot");
}

TEST(DotWriterTest, LabelIsTheTargetNameEscapedLikeTheNodes) {
  using namespace std::string_literals;
  const fsm_state odd = st("say \"hi\\\0"s, 1);
  *odd.accepting = true;
  machine m;
  m.insert(tr(st("x", 0), st("", 4)));
  m.insert(tr(st("x", 0), odd));
  EXPECT_EQ(dot_text(m), R"dot(Digraph {
node [shape = doublecircle];"say \"hi\\\0(1)" ;
node [shape = circle];
"x(0)"->"s0(4)"[label = ""]
"x(0)"->"say \"hi\\\0(1)"[label = "say \"hi\\\0"]
}
)dot");
}

}  // namespace
}  // namespace logfsm
