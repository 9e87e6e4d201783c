/* Test control of the package, for the tests of the package and of programs built on it (not
   installed): brings the package's record back to its start, closing a script file left open,
   so that a test opens the package as a fresh program would. Use it with the window system's
   reset (headless_reset), which destroys the windows and objects the record named. */
#ifndef EASEL_TESTING_H
#define EASEL_TESTING_H

#ifdef __cplusplus
extern "C" {
#endif

void easel_testing_reset(void);

#ifdef __cplusplus
}
#endif

#endif
