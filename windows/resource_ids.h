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
