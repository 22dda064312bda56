// Measures what the terminal host sends: it draws 600 ticks (a minute at the
// design rate) of a 200x60 aquarium onto a pseudo-terminal and counts the
// bytes that arrive, against a naive redraw of every cell of every frame.
#include <atomic>
#include <cstdio>
#include <pty.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

#include "engine/tick.h"
#include "host/glyphmarinae/screen.h"
#include "population/population.h"
#include "render/compose.h"
#include "render/text_render.h"

namespace {

double cpu_seconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main()
{
    constexpr int columns = 200, rows = 60, ticks = 600;
    winsize size{};
    size.ws_col = columns;
    size.ws_row = rows;
    int master = -1, slave = -1;
    if (openpty(&master, &slave, nullptr, nullptr, &size) != 0) {
        std::perror("openpty");
        return 1;
    }
    setenv("TERM", "xterm-256color", 1);

    std::atomic<long long> received{0};
    std::thread reader([&] {
        char buffer[65536];
        for (;;) {
            const ssize_t n = read(master, buffer, sizeof buffer);
            if (n <= 0) return;
            received += n;
        }
    });

    std::FILE* out = fdopen(slave, "w");
    std::FILE* in = fdopen(dup(slave), "r");
    static gm::Scene scene;
    long long naive = 0;
    long long after_first = 0;
    double cpu = 0;
    {
        gm::Screen screen({}, out, in);
        gm::start_scene(scene, columns, rows, 1);
        gm::compose(scene);
        screen.draw(scene.grid);
        usleep(200000);
        after_first = received;
        const double start = cpu_seconds();
        for (int i = 0; i < ticks; ++i) {
            gm::tick(scene);
            gm::compose(scene);
            screen.draw(scene.grid);
            // A full redraw: cursor home, then every row with its colour codes.
            naive += 3 + static_cast<long long>(gm::grid_to_ansi(scene.grid).size());
        }
        cpu = cpu_seconds() - start;
    }
    std::fclose(out);
    std::fclose(in);
    usleep(200000);
    close(master);
    reader.join();

    const long long sent = received - after_first;
    std::printf("grid %dx%d, %d ticks after the first frame\n", columns, rows, ticks);
    std::printf("bytes per frame, changes only: %.0f\n", static_cast<double>(sent) / ticks);
    std::printf("bytes per frame, full redraw:  %.0f\n", static_cast<double>(naive) / ticks);
    std::printf("first frame: %lld bytes\n", after_first);
    std::printf("CPU seconds per minute (tick, compose and draw): %.3f\n", cpu);
    return 0;
}
