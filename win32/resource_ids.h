#pragma once

// Shared by the resource script and the code that loads the resources.
#define HORATTA_ICON 1
#define HORATTA_SKIN3 103
#define HORATTA_SKIN4 104
#define HORATTA_SKIN5 105
#define HORATTA_SKIN6 106
#define HORATTA_SKIN7 107
#define HORATTA_SKIN8 108
#define HORATTA_SKIN9 109
// The skins drawn at two and three times their size, for dense screens.
#define HORATTA_SKIN3_2X 203
#define HORATTA_SKIN4_2X 204
#define HORATTA_SKIN5_2X 205
#define HORATTA_SKIN6_2X 206
#define HORATTA_SKIN7_2X 207
#define HORATTA_SKIN8_2X 208
#define HORATTA_SKIN9_2X 209
#define HORATTA_SKIN3_3X 303
#define HORATTA_SKIN4_3X 304
#define HORATTA_SKIN5_3X 305
#define HORATTA_SKIN6_3X 306
#define HORATTA_SKIN7_3X 307
#define HORATTA_SKIN8_3X 308
#define HORATTA_SKIN9_3X 309
