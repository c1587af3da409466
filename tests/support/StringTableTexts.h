#pragma once
// The program's own string table (resources/strings.json) as a TextSource, so that core tests
// check the texts the front ends show.

#include "core/document/Views.h"

#include <nlohmann/json.hpp>

#include <fstream>
#include <string>

namespace zr4700::testing {

class StringTableTexts final : public TextSource {
  public:
    StringTableTexts() {
        std::ifstream in(std::string(ZR4700_SOURCE_DIR) + "/resources/strings.json");
        table_ = nlohmann::json::parse(in);
    }
    std::string Text(std::string_view key) const override {
        const auto found = table_.find(std::string(key));
        return found == table_.end() ? std::string() : found->get<std::string>();
    }

  private:
    nlohmann::json table_;
};

} // namespace zr4700::testing
