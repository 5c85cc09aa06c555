#pragma once
// Image handlers, XRC handlers and the embedded resources, once per process.
void LoadResourcesOnce();
