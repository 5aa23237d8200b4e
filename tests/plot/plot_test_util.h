// Helpers of the travenel-plot tests: a text as an input stream, and CSV
// texts in the runner's formats.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace travenel {

// A temporary file holding `text`, opened for reading from its start.
inline std::unique_ptr<std::FILE, int (*)(std::FILE*)> TextFile(const std::string& text) {
  std::FILE* f = std::tmpfile();
  std::fwrite(text.data(), 1, text.size(), f);
  std::rewind(f);
  return {f, std::fclose};
}

inline const std::string kStepHeader = "agents,threshold,seed,step,attached,free\n";
inline const std::string kSummaryHeader =
    "agents,threshold,seed,steps_run,paused_at,final_attached,final_free\n";

}  // namespace travenel
