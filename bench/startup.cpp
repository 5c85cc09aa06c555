// Sum of the delays the splash window's steps add by themselves for the
// configuration bench/startup uses (start channel given, no provider lists):
// each step pauses after showing its text.
#include <cstdio>

#include "app/splashframe.h"
#include "app/startup.h"

int main()
{
    int steps = SplashGaugeRange(true, false, false);
    printf("%d\n", steps * MySplashFrame::stepDelayMs);
    return 0;
}
