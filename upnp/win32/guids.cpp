// Defines every interface, class and library id the library's IDL files declare.
#include <ole2.h>
#include <windows.h>

#include <initguid.h>

#include "Ombrivue.h"
#include "upnp_device_host.h"
