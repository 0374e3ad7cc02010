#pragma once

// The four block types' unscaled sizes, which are also the pixel sizes of
// their images. Every reader (hulls, the random screens, the levels loader)
// takes the sizes from here so that they cannot disagree. A type outside
// 0..3 has no size: every query answers 0 for it.
namespace BlockTypes {

constexpr int count = 4;

// Sizes as floats, read by the hull computation.
extern const float blockW[count];
extern const float blockH[count];
// The same sizes as 16-bit integers, read by the block makers.
extern const short blockW16[count];
extern const short blockH16[count];

constexpr bool isKnown(int type) { return type >= 0 && type < count; }
float widthOf(int type);
float heightOf(int type);
short width16Of(int type);
short height16Of(int type);

}  // namespace BlockTypes
