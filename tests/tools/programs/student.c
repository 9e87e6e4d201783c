/* A student's program for easel-grade's tests: it paints a dot where the user clicks, blue, and
   quits on a key. Told by its environment to reach out of its box (PROBE_WRITE: create that file;
   PROBE_READ: look at that path; PROBE_PORT: connect to 127.0.0.1 on that port), it paints red
   instead when it got there, so a sandbox that holds shows in its frames. */
#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <unistd.h>

#include "easel.h"

static int reached_out(void) {
  int reached = 0;
  const char* write_to = getenv("PROBE_WRITE");
  if (write_to != NULL) {
    FILE* file = fopen(write_to, "w");
    if (file != NULL) reached = 1, fclose(file);
  }
  const char* read_from = getenv("PROBE_READ");
  if (read_from != NULL && access(read_from, F_OK) == 0) reached = 1;
  const char* port = getenv("PROBE_PORT");
  if (port != NULL) {
    struct sockaddr_in address = {0};
    address.sin_family = AF_INET;
    address.sin_port = htons((unsigned short)atoi(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const int sock = socket(AF_INET, SOCK_STREAM, 0);
    if (sock >= 0 && connect(sock, (struct sockaddr*)&address, sizeof address) == 0) reached = 1;
    if (sock >= 0) close(sock);
  }
  return reached;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous_instance, LPSTR command_line,
                   int show_command) {
  EASEL_open(instance, previous_instance, command_line, show_command);
  EASEL_logging(0);
  EASEL_clear();
  const int colour = reached_out() ? 2 : 4;
  int32_t x = 0, y = 0;
  char key = 0;
  for (;;) {
    const int kind = EASEL_await_event(&x, &y, &key);
    if (kind == EASEL_QUIT || kind == EASEL_KBD) break;
    if (kind == EASEL_MOUSE) EASEL_circle(colour, x, y, 6);
  }
  EASEL_close();
  return 0;
}
