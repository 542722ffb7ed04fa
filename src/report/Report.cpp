#include "app/TForm1.h"

// The printed report arrives with the report work.
void TForm1::ToolButton8Click() {}
