#pragma once

#include <QString>
#include <string_view>

namespace belvaron::gui {

// A file dialog filter of the form "Text (*.txt)|*.txt|All (*.*)|*.*|" as
// Qt's "Text (*.txt);;All (*)": each description keeps its text, with its
// patterns in parentheses; "*.*" means every file.
QString QtFileFilter(std::string_view pipeFilter);

}  // namespace belvaron::gui
