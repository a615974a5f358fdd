#pragma once
// A message sink that records what would have been shown.
#include <string>
#include <vector>

#include "text/message.h"

namespace pradima::testing {

struct RecordingSink : MessageSink {
  int32_t Show(const std::string& prompt, int32_t systemStyle, const std::string& title) override {
    prompts.push_back(prompt);
    styles.push_back(systemStyle);
    titles.push_back(title);
    return 1;
  }
  std::vector<std::string> prompts, titles;
  std::vector<int32_t> styles;
};

}  // namespace pradima::testing
