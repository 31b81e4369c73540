/* Sanitizer builds only: libraries opened at run time (the GL driver above all) stay mapped to
   the end, so the leak check at exit can name the library behind a leak and the suppressions
   in lsan.supp can match it. Unloaded, such a leak shows as "<unknown module>". */
#include <stddef.h>

int dlclose(void* handle) {
  (void)handle;
  return 0;
}
