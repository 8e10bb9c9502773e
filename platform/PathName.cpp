// Path text helpers: folding, validation, splitting and wildcard matching.
#include "platform/PathName.h"

#include "platform/Text.h"

namespace platform {

namespace {
bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

bool MatchFolded(std::u16string_view p, std::u16string_view n) {
  // Greedy matching with one backtrack point per star: linear in practice and
  // never recursive, whatever the pattern.
  size_t pi = 0, ni = 0, starP = std::u16string_view::npos, starN = 0;
  while (ni < n.size()) {
    if (pi < p.size() && (p[pi] == u'?' || p[pi] == n[ni])) {
      ++pi;
      ++ni;
    } else if (pi < p.size() && p[pi] == u'*') {
      starP = pi++;
      starN = ni;
    } else if (starP != std::u16string_view::npos) {
      pi = starP + 1;
      ni = ++starN;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == u'*') ++pi;
  return pi == p.size();
}
}  // namespace

std::string FoldName(std::string_view name) {
  for (char c : name)
    if (static_cast<unsigned char>(c) >= 0x80) return ToLower(name);
  std::string out(name);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return out;
}

bool IsValidName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20) return false;
    switch (c) {
      case '\\':
      case '/':
      case '<':
      case '>':
      case ':':
      case '"':
      case '|':
      case '?':
      case '*':
        return false;
      default:
        break;
    }
  }
  return true;
}

bool HasWildcard(std::string_view text) {
  return text.find_first_of("*?") != text.npos;
}

std::vector<std::string_view> SplitComponents(std::string_view path) {
  std::vector<std::string_view> parts;
  size_t i = 0;
  while (i < path.size()) {
    while (i < path.size() && IsSeparator(path[i])) ++i;
    size_t j = i;
    while (j < path.size() && !IsSeparator(path[j])) ++j;
    const std::string_view part = path.substr(i, j - i);
    if (part.empty() || part == ".") {
      // nothing to add
    } else if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else {
      parts.push_back(part);
    }
    i = j;
  }
  return parts;
}

std::pair<std::string_view, std::string_view> SplitLastComponent(std::string_view path) {
  const size_t cut = path.find_last_of("\\/");
  if (cut == path.npos) return {std::string_view{}, path};
  return {path.substr(0, cut + 1), path.substr(cut + 1)};
}

std::string JoinHost(std::string_view folder, std::string_view name) {
  std::string out(folder);
  if (out.empty() || out.back() != '/') out += '/';
  out += name;
  return out;
}

bool MatchPattern(std::string_view pattern, std::string_view name) {
  if (pattern == "*" || pattern == "*.*") return true;
  const std::u16string p = ToLower(Utf8ToUtf16(pattern));
  const std::u16string n = ToLower(Utf8ToUtf16(name));
  if (MatchFolded(p, n)) return true;
  if (p.size() >= 2 && p.ends_with(u".*") && n.find(u'.') == n.npos)
    return MatchFolded(std::u16string_view(p).substr(0, p.size() - 2), n);
  return false;
}

}  // namespace platform
