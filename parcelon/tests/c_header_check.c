/* Compiled as C so that the public header stays usable from C. */
#include "parcelon/parcelon.h"

int parcelonHeaderIsC(void);

int parcelonHeaderIsC(void) {
  ParcelonGuid classId = PARCELON_CLSID;
  ParcelonVariant value = {PARCELON_VT_I4, 0, 0, 0.0, 0, 0};
  ParcelonHost host = {sizeof(ParcelonHost), 0, 0, 0, 0};
  return (int)(classId.data1 != 0) + value.type + (int)host.size;
}
