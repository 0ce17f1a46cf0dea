// Transitions: the 17 ways a new frame can appear over the one the window shows, step by step.
#include "graphics/transition.h"

#include "code/value.h"

#include <algorithm>
#include <cstring>

namespace quillon {

namespace {

constexpr std::int32_t FIRST_KIND = 1;
constexpr std::int32_t LAST_KIND = 17;
constexpr std::int32_t FIRST_STRIP_KIND = 14;

// One frame's numbers: the image size W x H, the output origin and scale, the scaled size, and the step i of n.
struct Frame {
    DDSurface& shown;        // the window image drawn on
    const DDSurface& image;  // the new frame
    int width;               // W
    int height;              // H
    double scale;            // s
    int origin_x;            // ox
    int origin_y;            // oy
    int scaled_width;        // SW = round(s W)
    int scaled_height;       // SH = round(s H)
    int steps;               // n
    int step;                // i
    double fraction;         // f = i / n
};

// A rectangle of the new image with its top-left corner at (x, y), scaled, cut to the clip rectangle. Parts
// that reach past the image are cut to it first, the target moving with a cut left or top edge.
void draw_part(const Frame& frame, SurfaceRect part, int x, int y)
{
    if (part.left < 0) {
        x += round_to_int32(-part.left * frame.scale);
        part.left = 0;
    }
    if (part.top < 0) {
        y += round_to_int32(-part.top * frame.scale);
        part.top = 0;
    }
    part.right = std::min(part.right, frame.width);
    part.bottom = std::min(part.bottom, frame.height);
    if (part.width() <= 0 || part.height() <= 0)
        return;
    frame.shown.DrawPart(x, y, part, frame.image, true, frame.scale, frame.scale);
}

void draw_whole(const Frame& frame, int x, int y)
{
    draw_part(frame, {0, 0, frame.width, frame.height}, x, y);
}

// Copies a rectangle of the shown image onto itself, moved by (dx, dy) and cut to the clip rectangle. Rows and
// columns are walked against the move, so that every pixel is read before it is overwritten.
void move_shown(DDSurface& shown, SurfaceRect from, int dx, int dy)
{
    SurfaceCanvas canvas = shown.GetCanvas();
    if (!canvas.pixels)
        return;
    SurfaceRect bounds {std::max(canvas.clip.left, 0), std::max(canvas.clip.top, 0),
        std::min(canvas.clip.right, canvas.width), std::min(canvas.clip.bottom, canvas.height)};
    // Source and target both have to lie on the surface, the target also inside the clip rectangle.
    int left = std::max({from.left, 0, bounds.left - dx});
    int top = std::max({from.top, 0, bounds.top - dy});
    int right = std::min({from.right, canvas.width, bounds.right - dx});
    int bottom = std::min({from.bottom, canvas.height, bounds.bottom - dy});
    if (right <= left || bottom <= top)
        return;
    std::size_t bytes = static_cast<std::size_t>(right - left) * 4;
    auto copy_row = [&](int y) { std::memmove(&canvas.at(left + dx, y + dy), &canvas.at(left, y), bytes); };
    if (dy > 0) {
        for (int y = bottom - 1; y >= top; --y)
            copy_row(y);
    } else {
        for (int y = top; y < bottom; ++y)
            copy_row(y);
    }
}

// The strip drawn in step i of the strip kinds, from the left or top (14, 16) or the right or bottom (15, 17).
int strip_number(const Frame& frame, bool from_far_side)
{
    int half = frame.steps / 2;
    int i = frame.step;
    if (!from_far_side)
        return i <= half ? 2 * i - 1 : 2 * i - 2 * half - 2;
    return i <= half ? 2 * i : 2 * i - 2 * half - 1;
}

void draw_kind(const Frame& f, std::int32_t kind)
{
    const int ox = f.origin_x, oy = f.origin_y, W = f.width, H = f.height;
    const int SW = f.scaled_width, SH = f.scaled_height;
    const double fr = f.fraction;
    switch (kind) {
    // Revealed from the left, the right, the top, the bottom, the centre.
    case 1: draw_part(f, {0, 0, round_to_int32(W * fr), H}, ox, oy); break;
    case 2:
        draw_part(f, {W - round_to_int32(W * fr), 0, W, H}, ox + SW - round_to_int32(SW * fr), oy);
        break;
    case 3: draw_part(f, {0, 0, W, round_to_int32(H * fr)}, ox, oy); break;
    case 4:
        draw_part(f, {0, H - round_to_int32(H * fr), W, H}, ox, oy + SH - round_to_int32(SH * fr));
        break;
    case 5: {
        double w = W * fr, h = H * fr;
        draw_part(f,
            {round_to_int32((W - w) / 2), round_to_int32((H - h) / 2), round_to_int32((W + w) / 2),
                round_to_int32((H + h) / 2)},
            ox + round_to_int32((SW - SW * fr) / 2), oy + round_to_int32((SH - SH * fr) / 2));
        break;
    }
    // Slid in from the left, the right, the top, the bottom.
    case 6: draw_whole(f, ox - SW + round_to_int32(SW * fr), oy); break;
    case 7: draw_whole(f, ox + SW - round_to_int32(SW * fr), oy); break;
    case 8: draw_whole(f, ox, oy - SH + round_to_int32(SH * fr)); break;
    case 9: draw_whole(f, ox, oy + SH - round_to_int32(SH * fr)); break;
    // The old image pushed out to the right, the left, downwards, upwards, by one step each time.
    case 10:
        move_shown(f.shown, {ox, oy, ox + SW, oy + SH}, round_to_int32(double(SW) / f.steps), 0);
        draw_kind(f, 6);
        break;
    case 11: {
        int step = round_to_int32(double(SW) / f.steps);
        move_shown(f.shown, {ox + step, oy, ox + SW, oy + SH}, -step, 0);
        draw_kind(f, 7);
        break;
    }
    case 12:
        move_shown(f.shown, {ox, oy, ox + SW, oy + SH}, 0, round_to_int32(double(SH) / f.steps));
        draw_kind(f, 8);
        break;
    case 13: {
        int step = round_to_int32(double(SH) / f.steps);
        move_shown(f.shown, {ox, oy + step, ox + SW, oy + SH}, 0, -step);
        draw_kind(f, 9);
        break;
    }
    // Vertical strips, odd ones first, from the left or the right.
    case 14: {
        int G = W / f.steps + 1;
        int k = strip_number(f, false);
        draw_part(f, {k * G, 0, k * G + G, H}, round_to_int32(ox + f.scale * k * G), oy);
        break;
    }
    case 15: {
        int G = W / f.steps + 1;
        int x = W - strip_number(f, true) * G;
        draw_part(f, {x, 0, x + G, H}, round_to_int32(f.scale * x + ox), oy);
        break;
    }
    // Horizontal strips, from the top or the bottom.
    case 16: {
        int G = H / f.steps + 1;
        int k = strip_number(f, false);
        draw_part(f, {0, k * G, W, k * G + G}, ox, round_to_int32(oy + f.scale * k * G));
        break;
    }
    case 17: {
        int G = H / f.steps + 1;
        int y = H - strip_number(f, true) * G;
        draw_part(f, {0, y, W, y + G}, ox, round_to_int32(f.scale * y + oy));
        break;
    }
    default: break;
    }
}

}  // namespace

int transition_frame_count(const TransitionRequest& request)
{
    if (request.kind < FIRST_KIND || request.kind > LAST_KIND || request.steps < 1)
        return 0;
    // The strips come in two rounds, so they take twice the steps (capped where the doubling would overflow).
    if (request.kind >= FIRST_STRIP_KIND)
        return request.steps > INT32_MAX / 2 ? INT32_MAX : request.steps * 2;
    return request.steps;
}

int transition_frame_delay(const TransitionRequest& request)
{
    int count = transition_frame_count(request);
    if (count == 0 || request.time <= 0)
        return 0;
    return request.time / count;
}

void draw_transition_frame(const TransitionRequest& request, int frame, DDSurface& shown, const DDSurface& image,
    const OutputRectangle& output)
{
    int count = transition_frame_count(request);
    if (frame < 1 || frame > count)
        return;
    Frame f {shown, image, image.width(), image.height(), output.scale, output.origin_x, output.origin_y,
        round_to_int32(output.scale * image.width()), round_to_int32(output.scale * image.height()), count, frame,
        double(frame) / count};
    draw_kind(f, request.kind);
}

}  // namespace quillon
