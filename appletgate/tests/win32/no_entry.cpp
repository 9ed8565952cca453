// A library that loads fine but is no control-panel applet: it exports
// something, just not CPlApplet.
#include <windows.h>

extern "C" __declspec(dllexport) int GateNotAnApplet() { return 0; }
