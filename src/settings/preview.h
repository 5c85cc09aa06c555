// Audio and picture settings tried out on the running stream before they are
// applied, and taken back when they are not.
#pragma once

// Equaliser gains in dB of the low, middle and high band.
void PreviewEqualizer(double low, double mid, double high);
// Video balance: brightness -1..1, contrast and colour saturation 0..2.
void PreviewVideoBalance(double brightness, double contrast, double colour);

// Re-places the picture-in-picture inset at a position (1..5) from the PIP/*
// values of the configuration record. The picture-in-picture code installs
// it; unset, or while no mixer exists, there is nothing to move.
extern void (*PiPPlacement)(int position);
// Whether a picture-in-picture mixer exists.
bool PiPActive();
// Calls PiPPlacement while a picture-in-picture mixer exists; false otherwise.
bool PreviewPiP(int position);
