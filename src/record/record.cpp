#include "record/record.h"

#include <ctime>
#include <iostream>
#include <limits>
#include <variant>

#include "engine/tick.h"
#include "record/atomic_file.h"
#include "record/progress_bar.h"
#include "record/record_cast.h"
#include "record/record_format.h"
#include "record/record_gif.h"
#include "record/record_png.h"
#include "population/population.h"
#include "render/compose.h"

namespace gm {

namespace {

using Recorder = std::variant<CastRecorder, GifRecorder, PngRecorder>;

Recorder recorder_for(RecordFormat format, AtomicFile& file, const RecordRequest& request)
{
    switch (format) {
    case RecordFormat::cast: {
        const std::int64_t timestamp = request.timestamp.value_or(static_cast<std::int64_t>(std::time(nullptr)));
        return CastRecorder(file, request.fps, timestamp, request.seed);
    }
    case RecordFormat::gif: return GifRecorder(file, request.fps, request.scale);
    case RecordFormat::png: break;
    }
    return PngRecorder(file, request.scale);
}

} // namespace

int run_record(const RecordRequest& request, const StopRequest& stop_request)
{
    Scene scene;
    const std::int64_t ticks = request.ticks;
    const RecordFormat format = *record_format_of(request.file);

    AtomicFile file(request.file);
    ProgressBar progress(ticks < std::numeric_limits<std::int64_t>::max() ? ticks + 1 : ticks);
    Recorder recorder = recorder_for(format, file, request);
    start_scene(scene, request.columns, request.rows, request.seed);
    int stopped = 0;
    for (std::int64_t frame = 0; frame <= ticks && (stopped = stop_request()) == 0; ++frame) {
        if (frame > 0) tick(scene);
        compose(scene);
        std::visit([&](auto& r) { r.add(scene.grid); }, recorder);
        progress.update(frame + 1);
    }
    if (stopped == 0) {
        std::visit([](auto& r) { r.finish(); }, recorder);
        stopped = stop_request();
    }
    if (stopped != 0) {
        progress.erase();
        file.discard();
        std::cerr << "glyphmarinae: interrupted; " << request.file << " was not written\n";
        return 128 + stopped;
    }
    progress.erase();
    file.commit();
    return 0;
}

} // namespace gm
