// Guards around toolkit calls that assert or misbehave when used carelessly:
// nested event-loop yields and gauge values outside their range.
#pragma once

class wxGauge;

// Lets queued events run, unless a yield is already running further up the
// stack (wxWidgets 3.2 asserts on a nested wxYield and handles nothing then).
// Returns false when it did not yield.
bool ZPYield();
// True while a ZPYield is running (tests, diagnostics).
bool ZPYieldActive();

// Sets a gauge to value clamped to 0..range; a null gauge is ignored.
void SetGaugeValue(wxGauge* gauge, long value);
// Sets range (at least 1) and keeps the current value within it.
void SetGaugeRange(wxGauge* gauge, long range);
