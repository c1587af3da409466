#pragma once
// What only tests may do to a document: set up a layout directly, and say whether the layout is
// to count as modified, without going through edits.

#include "core/document/Document.h"

namespace zr4700 {

class DocumentTestAccess {
  public:
    static Layout& Raw(Document& document) { return document.layout_; }
    // An unmodified layout is clean where the history stands; a modified one is clean nowhere.
    static void SetModified(Document& document, bool modified) {
        document.history_.Clear(!modified);
    }
};

namespace testing {

inline Layout& RawLayout(Document& document) {
    return DocumentTestAccess::Raw(document);
}
inline void SetModified(Document& document, bool modified) {
    DocumentTestAccess::SetModified(document, modified);
}

} // namespace testing
} // namespace zr4700
