/* A state machine with a switch inside a loop, labels and a goto. */
#include <stdio.h>
#include <unistd.h>

enum light { RED, RED_AMBER, GREEN, AMBER };

static const char *names[] = { "red", "red+amber", "green", "amber" };

enum light next_state(enum light s, int pedestrian_waiting)
{
    switch (s) {
    case RED:
        return RED_AMBER;
    case RED_AMBER:
        return GREEN;
    case GREEN:
        if (pedestrian_waiting)
            return AMBER;
        return GREEN;
    case AMBER:
    default:
        return RED;
    }
}

int run(int cycles)
{
    enum light state = RED;
    int tick = 0, waiting = 0;

    if (cycles <= 0)
        goto invalid;
again:
    printf("%4d %s\n", tick, names[state]);
    state = next_state(state, waiting);
    waiting = (tick % 3) == 0;
    if (++tick < cycles * 4)
        goto again;
    return 0;
invalid:
    fprintf(stderr, "cycles must be positive\n");
    return 1;
}

int main(void)
{
    return run(3);
}
