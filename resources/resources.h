#pragma once
// Makes every resource of the program known to the platform layer: dialog templates, strings,
// pictures and the icon. Called once at start-up, before any window is made.

namespace resources {
void RegisterAll();
}
