# The drawing benchmark's scene in pygame: N colour-keyed 32x32 sprites moving and bouncing in an 800x600
# window, all drawn every frame. Prints the frames per second of processor time on one line.
# Arguments: N, seconds, and "ahead" to turn back before a move would leave the window rather than after it.
import os
import random
import sys
import time

os.environ.setdefault("SDL_VIDEODRIVER", "dummy")
os.environ.setdefault("PYGAME_HIDE_SUPPORT_PROMPT", "1")
import pygame  # noqa: E402

WIDTH, HEIGHT, SIZE = 800, 600, 32


def sprite_image():
    image = pygame.Surface((SIZE, SIZE)).convert()
    image.fill((255, 0, 255))
    pygame.draw.circle(image, (240, 200, 40), (SIZE // 2, SIZE // 2), SIZE // 2 - 1)
    image.set_colorkey((255, 0, 255))
    return image


def main():
    count, seconds = int(sys.argv[1]), float(sys.argv[2])
    ahead = len(sys.argv) > 3 and sys.argv[3] == "ahead"
    pygame.display.init()
    screen = pygame.display.set_mode((WIDTH, HEIGHT))
    image = sprite_image()
    rng = random.Random(1)
    things = [[rng.uniform(0, WIDTH - SIZE), rng.uniform(0, HEIGHT - SIZE), rng.uniform(-3, 3), rng.uniform(-3, 3)]
              for _ in range(count)]
    frames = 0
    start = time.process_time()
    while time.process_time() - start < seconds:
        screen.fill((40, 60, 90))
        for thing in things:
            if ahead:
                if thing[0] + thing[2] < 0 or thing[0] + thing[2] > WIDTH - SIZE:
                    thing[2] = -thing[2]
                if thing[1] + thing[3] < 0 or thing[1] + thing[3] > HEIGHT - SIZE:
                    thing[3] = -thing[3]
            thing[0] += thing[2]
            thing[1] += thing[3]
            if not ahead and (thing[0] < 0 or thing[0] > WIDTH - SIZE):
                thing[2] = -thing[2]
            if not ahead and (thing[1] < 0 or thing[1] > HEIGHT - SIZE):
                thing[3] = -thing[3]
            screen.blit(image, (round(thing[0]), round(thing[1])))
        pygame.display.flip()
        frames += 1
    print(frames / (time.process_time() - start))


main()
