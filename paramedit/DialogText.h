#pragma once
// Texts of the editor's dialogs: the string-table text of an id, or the English text when the loaded
// resource library has no entry for it (several ids are shared with windows built elsewhere).
#include <string>

std::string DialogText(int id, const char* english);
