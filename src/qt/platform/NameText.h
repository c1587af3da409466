#pragma once

#include <QString>

#include <string_view>

// Key names are kept as the bytes the layout file holds. Names typed in this program are UTF-8,
// while layouts from older tools hold single-byte (Latin-1) names: a name that is not valid UTF-8
// is shown as Latin-1 so that its letters stay readable. Its bytes stay as they are until the user
// edits the name.
QString NameText(std::string_view bytes);
