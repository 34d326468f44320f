#include "paramedit/DialogText.h"

#include "framework/core/ResourceModule.h"

std::string DialogText(int id, const char* english) {
    std::string text = LoadResString(id);
    return text.empty() ? std::string(english) : text;
}
