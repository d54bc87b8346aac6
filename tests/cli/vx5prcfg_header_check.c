/* The public header is C: this file is compiled by the C compiler. The box
 * record's layout is what callers walk and free, so it is checked here. */
#include <stddef.h>

#include "exports/vx5prcfg.h"

_Static_assert(sizeof(Vx5BoxRecord) == 144, "a box record is 144 bytes");
_Static_assert(offsetof(Vx5BoxRecord, name) == 64, "name at offset 64");
_Static_assert(offsetof(Vx5BoxRecord, next) == 136, "next at offset 136");
