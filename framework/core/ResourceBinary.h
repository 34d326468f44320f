#pragma once
// The compiled form of a resource set, as the resource library carries it: the compiler writes it
// once at build time, the program reads it at every start. A flat little-endian layout, so that
// reading the whole set costs little more than building the records.
//
//   "KRS" 0x01, then six sections in this order, each a u32 count followed by its entries:
//   strings      i32 id, str text
//   dialogs      i32 id, str caption, i32 x y cx cy, u32 style exStyle, str font, i32 point size,
//                u32 n controls (i32 id, str class, str text, i32 x y cx cy, u32 style exStyle),
//                u32 n combo lists (i32 control id, u32 n, str items...)
//   menus        i32 id, items: u32 n (str text, i32 id, u8 flags 1 separator 2 grayed 4 checked, items)
//   accelerators i32 id, u32 n (i32 key, u8 flags 1 virtkey 2 control 4 shift 8 alt, i32 command)
//   toolbars     i32 id, i32 button width, height, u32 n, i32 buttons...
//   images       i32 id, u8 icon, u32 size, bytes
//   str = u32 length + bytes. Every entry in id order.
#include "framework/core/ResourceScript.h"

#include <string>
#include <string_view>

std::string WriteResourceBinary(const ResourceSet& set);

// Reads a compiled set into `set` (adding to what it holds). Every length and count is checked
// against what is left, so damaged data is refused, never read past; false with the reason in
// *error then.
bool ReadResourceBinary(std::string_view data, ResourceSet& set, std::string* error = nullptr);
