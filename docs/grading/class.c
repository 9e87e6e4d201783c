/* A class of ten for docs/GRADING.md: one small painting program (a click paints a dot, 'c'
   changes its colour, 'q' quits) as ten students wrote it, chosen by VARIANT when compiling.
   0 and 1 are right; the others end early, paint one pixel off, crash, hang, fork, write outside
   their folder, reach for the network, or pick the wrong colour. */
#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <unistd.h>

#include "easel.h"

#ifndef VARIANT
#define VARIANT 0
#endif

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous_instance, LPSTR command_line,
                   int show_command) {
  EASEL_open(instance, previous_instance, command_line, show_command);
  EASEL_logging(0);
  EASEL_clear();
  int colour = VARIANT == 9 ? 5 : 4, clicks = 0;
  if (VARIANT == 6 && fork() == 0) sleep(3600); /* a child left behind */
  if (VARIANT == 7) {
    const char* home = getenv("HOME");
    char path[512];
    snprintf(path, sizeof path, "%s/grade-demo-was-here", home ? home : "/tmp");
    FILE* file = fopen(path, "w");
    if (file != NULL) fclose(file);
  }
  if (VARIANT == 8) {
    struct sockaddr_in address = {0};
    address.sin_family = AF_INET;
    address.sin_port = htons(80);
    address.sin_addr.s_addr = htonl(0x7f000001);
    int sock = socket(AF_INET, SOCK_STREAM, 0);
    if (sock >= 0 && connect(sock, (struct sockaddr*)&address, sizeof address) == 0) colour = 2;
  }
  int32_t x = 0, y = 0;
  char key = 0;
  for (;;) {
    int kind = EASEL_await_event(&x, &y, &key);
    if (kind == EASEL_QUIT || (kind == EASEL_KBD && key == 'q')) break;
    if (kind == EASEL_KBD && key == 'c') colour = (colour + 1) % 24;
    if (kind == EASEL_KBD && VARIANT == 5)
      for (;;) {
      } /* hangs */
    if (kind != EASEL_MOUSE) continue;
    if (VARIANT == 2 && ++clicks == 3) break; /* ends early */
    if (VARIANT == 4 && ++clicks == 2) abort();
    EASEL_circle(colour, x + (VARIANT == 3), y, VARIANT == 1 ? 8 : 8);
  }
  EASEL_close();
  return 0;
}
