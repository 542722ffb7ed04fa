#pragma once
// Start-up and the orderly end: the six windows in their fixed order.

#include <memory>

class TPortMap;

// Creates Form1, Form2, Form3, Form4, Form6, Form5 in this order. Form1's
// creation runs the port discovery through the given port map.
void CreateForms(std::shared_ptr<const TPortMap> portMap);
// Destroys the six windows, the main window last.
void DestroyForms();

// The whole program: application title, windows, message loop.
int RunQuadrelix(int argc, char** argv);
