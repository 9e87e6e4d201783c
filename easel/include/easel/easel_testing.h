/* Test control of the package, for the tests, benchmarks and fuzz targets of the package and of
   programs built on it (not installed). Use it with the window system's testing layer
   (platform/headless.h). */
#ifndef EASEL_TESTING_H
#define EASEL_TESTING_H

#ifdef __cplusplus
extern "C" {
#endif

/* Brings the package's record back to its start, closing a script file left open, so that a
   test opens the package as a fresh program would. Use it with the window system's reset
   (headless_reset), which destroys the windows and objects the record named. */
void easel_testing_reset(void);

/* The pump's copy of the whole off-screen image to the graphics window, done now whether or not
   the image changed (to measure what one frame on the screen costs). */
void easel_testing_copy_image(void);

/* The colour the package draws palette entry `colour` in, as 0x00BBGGRR; an illegal entry gives
   the colour that replaces it. */
unsigned long easel_testing_colour(int colour);

/* Copies the newest line of the log (with its newline) into buffer, cut to size - 1 characters
   and terminated; an empty log gives "". Returns the number of characters copied. */
int easel_testing_last_log_line(char* buffer, int size);

/* Ends any playback, forgets the periodic events still owed to it and starts playing
   "EASEL.SCR" from its first line, as the Run menu's Playback does. */
void easel_testing_play_script(void);
/* Non-zero while a playback is going on. */
int easel_testing_playing(void);

#ifdef __cplusplus
}
#endif

#endif
