// The counterpart of CreateTopLevelWindows (app/windows.h) for closing.
#pragma once

// Destroys the full-screen, video and log windows, storing the video
// window's position and picture size in the configuration first.
void DestroyOtherTopLevelWindows();
