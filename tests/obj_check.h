// What an OBJ reader needs of an output pair, checked the way a second reader would: the
// faces, lines and points name vertex lines the OBJ has (1-based, or negative counting back
// from the last vertex seen), a face has three vertices or more, every vertex is three finite
// numbers, and every "usemtl" names a "newmtl" of the MTL.
#pragma once

#include <string>

// Empty when the pair is sound; otherwise the first problem, with its line number.
std::string objPairProblem(const std::string& obj, const std::string& mtl);

// True for the messages a source file itself may earn: unknown, damaged, cut or too big, or
// without points or polygons. Anything else (a table index, a missing control, an unforeseen
// error) tells of a fault in the program.
bool isRefusalOfTheFile(const std::string& message);
