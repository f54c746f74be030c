#include "support/e2e_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <random>
#include <thread>

namespace logfsm::e2e {
namespace {

// The test's own name, kept to characters that are safe in a file name.
std::string current_test_label() {
  const ::testing::TestInfo* info =
      ::testing::UnitTest::GetInstance()->current_test_info();
  std::string label = info == nullptr
                          ? std::string("no_test")
                          : std::string(info->test_suite_name()) + "-" + info->name();
  // No "." either: a program that cut names at the first "." would then
  // write outside the scratch directory.
  for (char& c : label) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                       (c >= '0' && c <= '9') || c == '_' || c == '-';
    if (!plain) c = '_';
  }
  return label;
}

fs::path fresh_root() {
  static std::atomic<unsigned> counter{0};
  std::random_device entropy;
  const fs::path base = fs::temp_directory_path();
  while (true) {
    const fs::path candidate =
        base / ("logfsm-e2e-" + current_test_label() + "-" +
                std::to_string(entropy()) + "-" + std::to_string(counter++));
    if (fs::create_directory(candidate)) return candidate;
  }
}

// Single quotes for the shell: nothing inside is interpreted.
std::string shell_quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

void write_file(const fs::path& file, std::string_view content) {
  std::ofstream stream(file, std::ios::binary | std::ios::trunc);
  stream.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (!stream) ADD_FAILURE() << "cannot write " << file;
}

render_start parse_record(const std::string& record) {
  std::vector<std::string> fields;
  std::size_t begin = 0;
  std::size_t end;
  while ((end = record.find('\0', begin)) != std::string::npos) {
    fields.push_back(record.substr(begin, end - begin));
    begin = end + 1;
  }
  render_start start;
  if (fields.size() < 2) return start;
  start.working_directory = fields[0];
  start.first_argument_was_a_file = fields[1] == "yes";
  start.arguments.assign(fields.begin() + 2, fields.end());
  return start;
}

// Owner may do everything again, so the tree can be removed.
void make_removable(const fs::path& root) {
  std::error_code ec;
  fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ec);
  for (auto it = fs::recursive_directory_iterator(root, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_symlink(ec)) continue;
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
}

}  // namespace

std::string answers(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view line : lines) {
    text += line;
    text += '\n';
  }
  return text;
}

std::string line(std::string_view text) { return std::string(text) + "\n"; }

std::string with_crlf(std::string_view text) {
  std::string converted;
  for (char c : text) {
    if (c == '\n' && !converted.ends_with('\r')) converted += '\r';
    converted += c;
  }
  return converted;
}

std::string learning_lines(int traces) {
  std::string text = "Building FSM...\n";
  for (int i = 1; i <= traces; ++i) {
    text += "Processed trace " + std::to_string(i) + " of " + std::to_string(traces) + "\n";
  }
  return text + "Refining...\n";
}

fake_renderer::fake_renderer(const fs::path& home)
    : home_(home), bin_(home / "bin"), records_(home / "records") {
  fs::create_directories(bin_);
  fs::create_directories(records_);
  const std::string quoted_home = shell_quoted(home_.string());
  write_file(bin_ / "dot",
             "#!/bin/sh\n"
             "# Stand-in for Graphviz dot: records how it was started.\n"
             "PATH=/usr/bin:/bin\n"
             "home=" + quoted_home + "\n"
             "if [ -e \"$home/hold\" ]; then\n"
             "  i=0\n"
             "  while [ ! -e \"$home/release\" ] && [ -d \"$home\" ] && [ $i -lt 600 ]; do\n"
             "    sleep 0.05\n"
             "    i=$((i + 1))\n"
             "  done\n"
             "fi\n"
             "[ -d \"$home/records\" ] || exit 0\n"
             "if [ -f \"$1\" ]; then file=yes; else file=no; fi\n"
             "printf '%s\\0' \"$(pwd -P)\" \"$file\" \"$@\" > \"$home/records/.partial.$$\"\n"
             "mv \"$home/records/.partial.$$\" \"$home/records/start.$$\"\n");
  fs::permissions(bin_ / "dot", fs::perms::owner_all | fs::perms::group_read |
                                    fs::perms::group_exec | fs::perms::others_read |
                                    fs::perms::others_exec);
}

std::vector<render_start> fake_renderer::starts() const {
  std::vector<render_start> found;
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(records_, ec)) {
    if (entry.path().filename().string().starts_with("start.")) {
      found.push_back(parse_record(slurp(entry.path())));
    }
  }
  return found;
}

std::vector<render_start> fake_renderer::wait_for_starts(
    std::size_t count, std::chrono::milliseconds timeout) const {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  std::vector<render_start> found = starts();
  while (found.size() < count && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    found = starts();
  }
  return found;
}

void fake_renderer::hold() const { write_file(home_ / "hold", ""); }

void fake_renderer::release() const { write_file(home_ / "release", ""); }

session::session()
    : root_(fresh_root()),
      work_(root_ / "work"),
      empty_(root_ / "empty"),
      renderer_(root_ / "renderer") {
  fs::create_directory(work_);
  fs::create_directory(empty_);
}

session::~session() {
  // A held stand-in must not outlive the test waiting for its release.
  renderer_.release();
  // The program does not wait for the stand-in, so one may still be writing
  // its record while the tree goes; try again until nothing is left.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (true) {
    make_removable(root_);
    std::error_code ec;
    fs::remove_all(root_, ec);
    if (!fs::exists(root_, ec) || std::chrono::steady_clock::now() >= deadline) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

void session::write(const fs::path& name, std::string_view content) const {
  fs::create_directories((work_ / name).parent_path());
  write_file(work_ / name, content);
}

std::string session::read(const fs::path& name) const { return slurp(work_ / name); }

bool session::exists(const fs::path& name) const {
  std::error_code ec;
  return fs::exists(fs::symlink_status(work_ / name, ec));
}

void session::make_dir(const fs::path& name) const {
  fs::create_directories(work_ / name);
}

void session::make_read_only(const fs::path& name) const {
  fs::permissions(work_ / name,
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
}

std::vector<std::string> session::files() const {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(work_)) {
    if (entry.is_directory() && !fs::is_empty(entry.path())) continue;
    names.push_back(entry.path().lexically_relative(work_).generic_string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

run_outcome session::run(std::string_view input) const {
  return run_with(work_, renderer_.bin(), input);
}

run_outcome session::run_in(const fs::path& working_directory,
                            std::string_view input) const {
  return run_with(working_directory, renderer_.bin(), input);
}

run_outcome session::run_without_renderer(std::string_view input) const {
  return run_with(work_, empty_, input);
}

run_outcome session::run_command(const std::vector<std::string>& arguments,
                                 std::string_view input) const {
  return run_with(work_, renderer_.bin(), input, arguments);
}

run_outcome session::run_with(const fs::path& working_directory, const fs::path& path,
                              std::string_view input,
                              const std::vector<std::string>& arguments) const {
  testing::run_request request;
  request.program = LOGFSM_BINARY;
  request.arguments = arguments;
  request.input = std::string(input);
  request.path_variable = path.string();
  request.working_directory = working_directory.string();
  run_outcome outcome = testing::run_binary(request);
  if (outcome.timed_out) {
    constexpr std::size_t kShown = 2000;
    const std::size_t shown = std::min(outcome.out.size(), kShown);
    ADD_FAILURE() << "logfsm did not end within "
                  << std::chrono::duration_cast<std::chrono::seconds>(request.timeout).count()
                  << " s and was killed; the last of its output:\n"
                  << outcome.out.substr(outcome.out.size() - shown);
  } else if (outcome.signal != 0) {
    ADD_FAILURE() << "logfsm was ended by signal " << outcome.signal
                  << "; standard error:\n"
                  << outcome.err;
  }
  return outcome;
}

std::vector<worked_case> worked_cases_in(const fs::path& folder) {
  std::vector<worked_case> cases;
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) return cases;
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  for (const std::string& log : names) {
    if (!log.ends_with(".txt")) continue;
    const std::string prefix = log.substr(0, log.size() - 4) + "_out_";
    for (const std::string& name : names) {
      if (!name.starts_with(prefix) || !name.ends_with(".dot")) continue;
      const std::string k =
          name.substr(prefix.size(), name.size() - prefix.size() - 4);
      const bool decimal = !k.empty() && std::all_of(k.begin(), k.end(), [](char c) {
        return c >= '0' && c <= '9';
      });
      const std::string json = prefix + k + ".json";
      if (!decimal || !std::binary_search(names.begin(), names.end(), json)) continue;
      cases.push_back({folder / log, k, folder / name, folder / json});
    }
  }
  return cases;
}

std::string slurp(const fs::path& file) {
  std::ifstream stream(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(stream),
                     std::istreambuf_iterator<char>());
}

}  // namespace logfsm::e2e
