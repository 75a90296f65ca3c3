// Another program on the same desktop: prints the double-click time it gets from the
// system, so the end-to-end test can see that the clock leaves it alone.
#include <windows.h>

#include <cstdio>

int main() {
    std::printf("%u\n", GetDoubleClickTime());
    return 0;
}
