/* Bouncing ball: a red ball flies around the window and bounces off the walls. Click on the
 * ball to score a point; each point adds a gold star at the top right. Press q to stop.
 *
 * Shows: running the animation (one EASEL_PERIODIC event every 100 ms), reacting to clicks and
 * keys, and redrawing the whole picture after every event. */
#include <easel.h>

/* The playing field, in drawing coordinates: (0, 0) is the centre of the window, y points up. */
#define FIELD_LEFT (-290)
#define FIELD_RIGHT 290
#define FIELD_BOTTOM (-240)
#define FIELD_TOP 200
#define BALL_RADIUS 20

/* Colour numbers from the palette (see docs/API.md). */
#define BLACK 0
#define RED 2
#define NAVY_BLUE 9
#define GOLD 17

static void draw_picture(int ball_x, int ball_y, int score) {
  int star;
  EASEL_clear(); /* white, with a thin black frame */
  EASEL_rectangle(NAVY_BLUE, FIELD_LEFT, FIELD_BOTTOM, FIELD_RIGHT, FIELD_TOP, 2);
  EASEL_circle(RED, ball_x, ball_y, BALL_RADIUS);
  EASEL_printf_at(BLACK, FIELD_LEFT, FIELD_TOP + 15, 24, "Score: %d", score);
  /* One star (a small disc) per point, from the right edge leftwards, at most twenty. */
  for (star = 0; star < score && star < 20; star++) {
    EASEL_circle(GOLD, FIELD_RIGHT - 10 - star * 25, FIELD_TOP + 28, 10);
  }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous_instance, LPSTR command_line,
                   int show_command) {
  int ball_x = 0, ball_y = 0;   /* where the ball is */
  int speed_x = 7, speed_y = 5; /* how far it moves at each step */
  int score = 0;
  int32_t x, y; /* where a click was */
  char key;     /* which key was typed */
  int event;

  EASEL_open(instance, previous_instance, command_line, show_command);
  EASEL_logging(0); /* no description of every drawing call in the log window */
  EASEL_animate(EASEL_ANIM_RUN);
  draw_picture(ball_x, ball_y, score);

  while ((event = EASEL_await_event(&x, &y, &key)) != EASEL_QUIT) {
    if (event == EASEL_PERIODIC) {
      ball_x += speed_x;
      ball_y += speed_y;
      /* Bounce: when the ball touches a wall, turn it round. */
      if (ball_x - BALL_RADIUS <= FIELD_LEFT || ball_x + BALL_RADIUS >= FIELD_RIGHT) {
        speed_x = -speed_x;
      }
      if (ball_y - BALL_RADIUS <= FIELD_BOTTOM || ball_y + BALL_RADIUS >= FIELD_TOP) {
        speed_y = -speed_y;
      }
    } else if (event == EASEL_MOUSE) {
      /* A hit when the click is no farther from the centre than the radius. */
      int dx = x - ball_x, dy = y - ball_y;
      if (dx * dx + dy * dy <= BALL_RADIUS * BALL_RADIUS) {
        score++;
        EASEL_printf("Hit! Score %d\n", score);
      }
    } else if (event == EASEL_KBD && key == 'q') {
      break;
    }
    draw_picture(ball_x, ball_y, score);
  }

  EASEL_close();
  return 0;
}
