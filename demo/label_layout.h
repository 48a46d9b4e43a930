// Places labels of equal height along one axis so that none overlaps another, each as near to
// where it wants to be as the others allow, all inside [low, high].
//
// `wanted` holds the desired centres in any order; the result holds the placed centres in the
// same order. Labels keep their order along the axis (ties keep input order). When the labels
// cannot all fit (n * (height + gap) > high - low) they are spread evenly over the range and
// overlap as little as possible. An empty input gives an empty result.
#pragma once

#include <vector>

namespace ostrel::demo {

std::vector<double> spreadLabels(const std::vector<double>& wanted, double height, double gap,
                                 double low, double high);

}  // namespace ostrel::demo
