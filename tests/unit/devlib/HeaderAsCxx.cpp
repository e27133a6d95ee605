// The public header in a C++ translation unit, with every warning on.
#include "Orvane_pro_dll.h"

int orvaneHeaderCompilesAsCxx() {
    ButtonSetting setting{};
    setting.count = 140;
    return setting.count == 140 ? ORVANE_OK : ORVANE_DEVICE_ERROR;
}
