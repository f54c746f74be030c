#include "frontend/command_line.h"

#include <charconv>
#include <cstddef>
#include <utility>

namespace logfsm {
namespace {

const option_spec* find_spec(const std::vector<option_spec>& specs,
                             const std::string& name, char alias) {
  for (const option_spec& spec : specs) {
    if (alias != '\0' ? spec.alias == alias : spec.name == name) return &spec;
  }
  return nullptr;
}

}  // namespace

std::optional<std::string> parsed_command_line::value(const std::string& name) const {
  const auto it = options.find(name);
  if (it == options.end()) return std::nullopt;
  return it->second.back();
}

std::vector<std::string> parsed_command_line::values(const std::string& name) const {
  const auto it = options.find(name);
  return it == options.end() ? std::vector<std::string>() : it->second;
}

status parse_command_line(const std::vector<std::string>& args,
                          const std::vector<option_spec>& specs,
                          parsed_command_line& parsed) {
  const auto fail = [](std::string why) {
    return status(status_code::bad_argument, std::move(why));
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--") {
      parsed.positional.insert(parsed.positional.end(), args.begin() + i + 1, args.end());
      break;
    }
    const bool long_form = arg.size() > 2 && arg.starts_with("--");
    const bool short_form =
        !long_form && arg.size() == 2 && arg[0] == '-' && arg[1] != '-';
    if (!long_form && !short_form) {
      if (arg.size() > 1 && arg[0] == '-') return fail("unknown option: " + arg);
      parsed.positional.push_back(arg);
      continue;
    }
    std::string name = short_form ? std::string() : arg.substr(2);
    std::optional<std::string> inline_value;
    if (const std::size_t eq = name.find('='); long_form && eq != std::string::npos) {
      inline_value = name.substr(eq + 1);
      name.resize(eq);
    }
    const option_spec* spec = find_spec(specs, name, short_form ? arg[1] : '\0');
    if (spec == nullptr)
      return fail("unknown option: " + (short_form ? arg : "--" + name));
    if (!spec->takes_value()) {
      if (inline_value) return fail("option --" + spec->name + " takes no value");
      parsed.options[spec->name].emplace_back();
      continue;
    }
    if (!inline_value) {
      if (i + 1 >= args.size()) return fail("option --" + spec->name + " needs a value");
      inline_value = args[++i];
    }
    parsed.options[spec->name].push_back(*inline_value);
  }
  return status();
}

status read_whole_number(const parsed_command_line& line, const std::string& option,
                         std::size_t min, std::size_t max, std::size_t& value) {
  const auto text = line.value(option);
  if (!text) return status();
  std::size_t n = 0;
  const char* end = text->data() + text->size();
  const auto [at, error] = std::from_chars(text->data(), end, n);
  if (error != std::errc() || at != end || n < min || n > max) {
    return status(status_code::bad_argument,
                  "--" + option + " takes a whole number " +
                      (min == 0 ? "" : "from " + std::to_string(min) + " ") + "up to " +
                      std::to_string(max));
  }
  value = n;
  return status();
}

}  // namespace logfsm
