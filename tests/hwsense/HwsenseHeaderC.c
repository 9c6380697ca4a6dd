/* Other programs include the public header from C; this file fails to build if it stops being C. */
#include "hwsense/hwsense.h"

typedef int32_t (*HwsenseSetter)(int32_t percent);

int HwsenseHeaderServesC(void) { return sizeof(HwsenseSetter) > 0; }
