#include "game/BlockTypes.h"

namespace BlockTypes {

namespace {
// The one source of truth: width and height of types 0 to 3.
constexpr short sizes[count][2] = {{398, 487}, {190, 752}, {746, 256}, {512, 483}};
}  // namespace

const float blockW[count] = {sizes[0][0], sizes[1][0], sizes[2][0], sizes[3][0]};
const float blockH[count] = {sizes[0][1], sizes[1][1], sizes[2][1], sizes[3][1]};
const short blockW16[count] = {sizes[0][0], sizes[1][0], sizes[2][0], sizes[3][0]};
const short blockH16[count] = {sizes[0][1], sizes[1][1], sizes[2][1], sizes[3][1]};

float widthOf(int type) { return isKnown(type) ? blockW[type] : 0.0f; }
float heightOf(int type) { return isKnown(type) ? blockH[type] : 0.0f; }
short width16Of(int type) { return isKnown(type) ? blockW16[type] : 0; }
short height16Of(int type) { return isKnown(type) ? blockH16[type] : 0; }

}  // namespace BlockTypes
