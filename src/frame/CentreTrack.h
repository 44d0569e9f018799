#pragma once
// The centre track from the measured lists of the library state: measured centre points are
// sorted and kept; a single measured rail stands in for the centre; with both rails, a centre
// point is built between each point of the rail with fewer points and the nearest point of the
// other rail, with its cant from their heights and its height from the inner rail where the
// alignment shows a curve. At the end the lists run away from the first measured point.
//
// The nearest-point search gives what comparing every pair gives (a point replaces the best one
// only when strictly nearer, so the first of equal candidates in list order wins) through a k-d
// tree. A walked point with no point of the other rail within 10^6 m gets no centre point.

#include "frame/LibraryState.h"

class CvPolyLine;

namespace rigel {

// False when CenterPoints is empty at the end.
bool CheckCentreTrack(LibraryState& state, CvPolyLine* alignment);

// Builds the centre points from the two rails (step 3 alone), appending to centre.
void CentreFromRails(const CvSporopPointList& left, const CvSporopPointList& right,
                     CvPolyLine* alignment, CvSporopPointList& centre);

} // namespace rigel
