/* Defines the GUIDs that the generated header declares. */
#include <initguid.h>
#include "pradima_h.h"
