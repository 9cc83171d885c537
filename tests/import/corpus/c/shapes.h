/*
 * shapes.h - declarations only: no function is defined here, so an import
 * of this header gives no chart at all.
 */
#ifndef SHAPES_H
#define SHAPES_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

#define SHAPES_VERSION_MAJOR 2
#define SHAPES_VERSION_MINOR 1
#define SHAPE_NAME_MAX 32
#define SHAPE_AREA(s) \
    ((s)->kind == SHAPE_CIRCLE ? 3.14159265 * (s)->u.circle.r * (s)->u.circle.r \
                               : (s)->u.rect.w * (s)->u.rect.h)

typedef enum shape_kind {
    SHAPE_CIRCLE,
    SHAPE_RECT,
    SHAPE_TRIANGLE = 10,
} shape_kind;

typedef struct point2 {
    double x, y;
} point2;

typedef struct shape {
    shape_kind kind;
    char name[SHAPE_NAME_MAX];
    point2 origin;
    union {
        struct { double r; } circle;
        struct { double w, h; } rect;
        point2 corners[3];
    } u;
    unsigned visible : 1;
    unsigned selected : 1;
    unsigned : 6;
} shape;

typedef double (*shape_metric)(const shape *);
typedef struct shape_vtable {
    shape_metric area;
    shape_metric perimeter;
    void (*move)(shape *s, double dx, double dy);
} shape_vtable;

extern const shape_vtable *shape_vtables[3];
extern int shape_debug_level;

shape *shape_new_circle(point2 centre, double r);
shape *shape_new_rect(point2 origin, double w, double h);
void shape_free(shape *s);
double shape_area(const shape *s);
size_t shape_list_area(const shape *const *list, size_t count, double *out);
int shape_snprint(char *buf, size_t size, const shape *s);
void shape_sort(shape **list, size_t count, int (*cmp)(const shape *, const shape *));

#ifdef __cplusplus
}
#endif

#endif /* SHAPES_H */
