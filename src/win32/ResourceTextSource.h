#pragma once
// The string table of the current resource set as the core's text source: a key is a string's
// number ("32794") or its name ("detail.noAnswer").

#include "core/document/Views.h"

namespace win32 {

class ResourceTextSource final : public zr4700::TextSource {
  public:
    std::string Text(std::string_view key) const override;
};

} // namespace win32
