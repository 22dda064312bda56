#include "host/cli/record.h"

#include <ctime>
#include <iostream>
#include <limits>
#include <variant>

#include "engine/tick.h"
#include "host/cli/atomic_file.h"
#include "host/cli/progress_bar.h"
#include "host/cli/record_cast.h"
#include "host/cli/record_format.h"
#include "host/cli/record_gif.h"
#include "host/cli/record_png.h"
#include "host/shared/signals.h"
#include "population/population.h"
#include "render/compose.h"

namespace gm {

namespace {

using Recorder = std::variant<CastRecorder, GifRecorder, PngRecorder>;

Recorder recorder_for(RecordFormat format, AtomicFile& file, const Options& options, std::uint32_t seed)
{
    switch (format) {
    case RecordFormat::cast: {
        const std::int64_t timestamp = options.timestamp.value_or(static_cast<std::int64_t>(std::time(nullptr)));
        return CastRecorder(file, options.fps, timestamp, seed);
    }
    case RecordFormat::gif: return GifRecorder(file, options.fps);
    case RecordFormat::png: break;
    }
    return PngRecorder(file);
}

} // namespace

int run_record(const Options& options)
{
    // Scenes are large; one lives for the whole run, as in every host.
    static Scene scene;
    const std::uint32_t seed = options.seed.value_or(static_cast<std::uint32_t>(std::time(nullptr)));
    const std::int64_t ticks = options.ticks_given ? options.ticks : default_record_ticks;
    const RecordFormat format = *record_format_of(options.record_file);
    catch_stop_signals();

    AtomicFile file(options.record_file);
    ProgressBar progress(ticks < std::numeric_limits<std::int64_t>::max() ? ticks + 1 : ticks);
    Recorder recorder = recorder_for(format, file, options, seed);
    start_scene(scene, options.columns, options.rows, seed);
    for (std::int64_t frame = 0; frame <= ticks && !stop_requested(); ++frame) {
        if (frame > 0) tick(scene);
        compose(scene);
        std::visit([](auto& r) { r.add(scene.grid); }, recorder);
        progress.update(frame + 1);
    }
    if (!stop_requested()) std::visit([](auto& r) { r.finish(); }, recorder);
    if (stop_requested()) {
        progress.erase();
        file.discard();
        std::cerr << "glyphmarinae: interrupted; " << options.record_file << " was not written\n";
        return 128 + stop_signal();
    }
    progress.erase();
    file.commit();
    return 0;
}

} // namespace gm
