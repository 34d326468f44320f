#pragma once
// How data exchange reads and writes numbers in control texts, kept apart from the windows so it is
// checked directly. A text is a number when it holds only the number, with blanks around it allowed;
// a value that does not fit the type is no number.
#include <string>

bool ParseExchangeInt(const std::string& text, int* value);
bool ParseExchangeUInt(const std::string& text, unsigned* value);
bool ParseExchangeLong(const std::string& text, long* value);
bool ParseExchangeDouble(const std::string& text, double* value);
// "%.*g" with 15 significant digits for double and 6 for float, as the exchange writes them.
std::string FormatExchangeDouble(double value, int digits = 15);

// The framework's own prompts.
inline constexpr const char* kPromptInteger = "Please enter an integer.";
inline constexpr const char* kPromptUnsigned = "Please enter a positive integer.";
inline constexpr const char* kPromptNumber = "Please enter a number.";
std::string IntegerRangePrompt(long long low, long long high); // "Please enter an integer between 1 and 9."
std::string NumberRangePrompt(double low, double high);        // "Please enter a number between 0.5 and 2."
std::string MaxCharsPrompt(int count);                         // "Please enter no more than 8 characters."
