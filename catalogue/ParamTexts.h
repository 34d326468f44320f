#pragma once
// The texts a parameter is shown with: value in its own format, range, unit, title and explanation,
// and the names of the digital input/output functions. Titles and explanations come from the string
// table of the resource library through a loader the caller passes, so these stay pure.
#include "catalogue/CatalogueContext.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// Loads a string-table text by id; "" for an id without an entry.
using StringLoader = std::function<std::string(int id)>;

// The loader that reads the program's current resource module.
StringLoader ResourceStringLoader();

// A string-table text, optionally a format filled with integer arguments ("%d", "%02d").
struct TextPiece {
    int id = 0;
    std::vector<int> args;
    bool operator==(const TextPiece&) const = default;
};

// Fills the integer conversions of a loaded format (%d, %i, %u, %X, %x with flags and width; %% is
// a percent sign) from args in order. Text from a resource is never handed to printf: a conversion
// without an argument, or one of another kind, is left as it stands.
std::string FormatIntText(std::string_view format, std::initializer_list<int> args);
std::string FormatIntText(std::string_view format, const std::vector<int>& args);

// The value as the parameter shows it, by the display format of its attribute word.
std::string FormatParamValue(std::string_view code, int value, const CatalogueContext& context);

// "min~max" in the parameter's format; "" when both ends are equal.
std::string ParamRangeText(std::string_view code, int minimum, int maximum, const CatalogueContext& context);

// The title's string-table reference; id 0 when the code has no title.
TextPiece ParamTitleId(std::string_view code);
// The title; a parameter without one is named by its group's printed name and its number
// ("CiA 402 Parameter 707", "onC Parameter 35"). Monitor and alarm items without a title get "".
std::string ParamTitle(std::string_view code, const StringLoader& load);
// The printed name of a parameter's group ("Position Parameter", "onC Parameter"); "" for the
// monitor and alarm items and for a code that is none.
std::string ParamGroupTitle(std::string_view code);

// The pieces of the long explanation, in order (empty when the code has none).
std::vector<TextPiece> ParamExplanationPieces(std::string_view code);
std::string ParamExplanation(std::string_view code, const StringLoader& load);

// True when the drive's units are linear (mm/s, pitch): the motor family nibble is 3 or 4.
bool IsLinearModel(int modelCode);

// The unit of a parameter, "" when it has none.
std::string ParamUnitText(std::string_view code, const CatalogueContext& context, const StringLoader& load);

// Short name of digital input function n (function code - 1); "NULL" outside 0..44.
std::string DiFunctionName(int n);
// Short name of digital output function n; "" for numbers without a name.
std::string DoFunctionName(int n);
// The function number of a DI/DO pin setting: s - 1 below 256, else s - 257.
int PinFunctionNumber(int setting);

// String ids of the long descriptions of DI and DO function codes (low byte of c); 0 for none.
int CodeNameTextId(int c);
int TypeNameTextId(int c);
std::string CodeNameText(int c, const StringLoader& load);
std::string TypeNameText(int c, const StringLoader& load);

// Pulses per revolution of an encoder type code (its low four bits).
int EncoderPulses(int code);
