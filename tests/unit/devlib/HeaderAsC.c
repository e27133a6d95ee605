/* The public header must stand on its own in a plain C11 translation unit. */
#include "Orvane_pro_dll.h"

int orvane_header_compiles_as_c(void) {
    ProfileData data;
    data.pollingRate = 1000;
    return data.pollingRate == 1000 ? ORVANE_OK : ORVANE_DEVICE_ERROR;
}
