#pragma once
// String ids of the option lists of the fixed digit and bit editors (texts in resources/valueedit.rc).
#include "valueedit/DigitFields.h"

constexpr OptionList kCn002Digit0{46000, 2};
constexpr OptionList kCn002Digit1{46002, 2};
constexpr OptionList kCn002Digit2{46004, 2};
constexpr OptionList kCn002Digit3{46006, 2};
constexpr OptionList kCn031Digit0{46008, 4};
constexpr OptionList kCn031Digit1{46012, 2};
constexpr OptionList kCn031Digit2{46014, 3};
constexpr OptionList kCn031Digit3{46017, 2};
constexpr OptionList kCn015Digit0{46019, 5};
constexpr OptionList kCn015Digit1{46024, 5};
constexpr OptionList kCn037Digit0{46029, 6};
constexpr OptionList kCn037Digit1{46035, 4};
constexpr OptionList kCn037Digit2{46039, 2};
constexpr OptionList kCn037Digit3{46041, 2};
constexpr OptionList kPn301Digit0{46043, 4};
constexpr OptionList kPn301Digit1{46047, 2};
constexpr OptionList kPn301Digit2{46049, 2};
constexpr OptionList kPn301Digit3{46051, 1};
constexpr OptionList kPn316Digit0{46052, 2};
constexpr OptionList kPn316Digit1{46054, 2};
constexpr OptionList kPn316Digit2{46056, 2};
constexpr OptionList kPn316Digit3{46058, 2};
constexpr OptionList kPn317Digit0{46060, 6};
constexpr OptionList kPn317Digit1{46066, 3};
constexpr OptionList kPn317Digit2{46069, 3};
constexpr OptionList kPn317Digit3{46072, 2};
constexpr OptionList kHnDiLevel{46074, 2};
constexpr OptionList kHnDoLevel{46076, 2};
constexpr OptionList kHn617{46078, 2};
constexpr OptionList kHn618{46080, 2};
constexpr OptionList kHnTexts{46082, 10};
constexpr OptionList kEn718Bits[16] = {{46092, 2}, {46094, 2}, {46096, 2}, {0, 0},     {46098, 2}, {46100, 2},
                                       {46102, 2}, {46104, 2}, {46106, 2}, {46108, 2}, {46110, 2}, {46112, 1},
                                       {46113, 2}, {46115, 2}, {46117, 2}, {46119, 2}};
constexpr OptionList kEn719Bits[16] = {{46121, 2}, {46123, 2}, {46125, 2}, {46127, 2}, {46129, 2}, {46131, 2},
                                       {46133, 2}, {46135, 2}, {46137, 2}, {46139, 2}, {46141, 2}, {46143, 2},
                                       {46145, 2}, {46147, 2}, {46149, 2}, {46151, 2}};
constexpr int kEn718Title = 46153;
constexpr int kEn719Title = 46154;
