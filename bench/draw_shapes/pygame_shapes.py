# The shape benchmark's scene in pygame: every frame N filled rectangles, N outlined ellipses, N lines and N/10
# strings of 20 characters (rendered with a cached font and blitted) on a 640x480 screen. Prints the frames per
# second of processor time on one line.
import os
import sys
import time

os.environ.setdefault("SDL_VIDEODRIVER", "dummy")
os.environ.setdefault("PYGAME_HIDE_SUPPORT_PROMPT", "1")
import pygame  # noqa: E402

TEXT = "Quillon shapes bench"


def main():
    count, seconds, text = int(sys.argv[1]), float(sys.argv[2]), sys.argv[3] == "1"
    pygame.display.init()
    pygame.font.init()
    screen = pygame.display.set_mode((640, 480))
    font = pygame.font.Font(None, 16)
    frames = 0
    start = time.process_time()
    while time.process_time() - start < seconds:
        screen.fill((16, 24, 48))
        for i in range(count):
            pygame.draw.rect(screen, (40, 200, 60), (i * 37 % 600, i * 53 % 440, 20, 14))
        for i in range(count):
            x, y = i * 41 % 600, i * 59 % 440
            pygame.draw.ellipse(screen, (255, 255, 255), (x, y, 30, 20), 1)
        for i in range(count):
            x, y = i * 43 % 600, i * 31 % 440
            pygame.draw.line(screen, (240, 220, 40), (x, y), (x + 40, y + 25))
        if text:
            for i in range(count // 10):
                screen.blit(font.render(TEXT, False, (255, 255, 255)), (i * 47 % 560, i * 29 % 460))
        pygame.display.flip()
        frames += 1
    print(frames / (time.process_time() - start))


main()
