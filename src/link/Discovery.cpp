#include "app/TForm1.h"

// Port discovery and the Port menu arrive with the link work.
void TForm1::PortDiscovery() {}
void TForm1::ComClick(int) {}
