#pragma once
// The string table of the current resource set, as the core's view functions read texts.

#include "core/document/Views.h"

namespace win32 {

class ResourceTexts final : public zr4700::TextSource {
  public:
    // A number ("32794") names a string by its id, anything else by its name ("status.delay").
    std::string Text(std::string_view key) const override;
};

} // namespace win32
