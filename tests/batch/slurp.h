// Reading what the runner wrote, whole, in the batch tests.
#pragma once

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace travenel {

// Everything written to a temporary stream, from its start; the stream is closed.
inline std::string Slurp(std::FILE* f) {
  std::rewind(f);
  std::string s;
  char buf[4096];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) s.append(buf, n);
  std::fclose(f);
  return s;
}

// A file's bytes ("" when it cannot be read).
inline std::string Slurp(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

}  // namespace travenel
