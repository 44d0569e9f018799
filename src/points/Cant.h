#pragma once
// Cant in whole millimetres from rail heights in metres.

namespace rigel {

// metres as whole millimetres, cut towards zero after moving the value 1e-6 mm away from zero:
// heights read from files have a few decimals, so a difference of exactly 80 mm arrives as
// 0.0799999... m, which must still give 80, while 84.5 mm gives 84 and -84.5 mm gives -84.
// A value that is not a number gives 999 (no cant information); one beyond the range of int is
// cut to the nearest int.
int WholeMillimetres(double metres);

// The cant of a left and a right rail height: positive when the left rail is the higher.
inline int CantFromHeights(double leftHeight, double rightHeight) {
    return WholeMillimetres(leftHeight - rightHeight);
}

} // namespace rigel
