#pragma once

#include "link/tcustomcomport.h"

// The serial-port component the reader link derives from. It adds nothing to
// its base: the split is kept so that the link's class tree reads as the
// system's other components do (a base doing the work, a component on top).
class TComPort : public TCustomComPort {
public:
    explicit TComPort(QObject *owner = nullptr);
};
