// Never ends on its own: the runner's time-out has to stop it.
#include <windows.h>

int main() {
  Sleep(INFINITE);
  return 0;
}
