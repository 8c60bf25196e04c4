// capture: plays the whole demo headless on a virtual clock and writes what
// a viewer would have seen and heard, frame for frame: PNG stills, an MP4
// with the soundtrack, and a contact sheet with one still per scene.
//
// The demo itself runs unchanged (the same start-up, loop and shut-down as
// the program); only its clock, flips and sound starts are redirected.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "external.h"
#include "png.h"
#include "runtime/runtime.h"
#include "session.h"
#include "soundtrack.h"

namespace fs = std::filesystem;
using capture::Image;
using capture::Session;

namespace {

const char *usage_text =
    "usage: capture [options]\n"
    "Plays the whole demo headless on a virtual clock and writes what it shows\n"
    "and plays, frame for frame. Two runs with the same options give the same\n"
    "frames, byte for byte.\n"
    "\n"
    "Outputs (any number of them):\n"
    "  --video FILE.mp4        H.264 video with the soundtrack (AAC), via ffmpeg\n"
    "  --frames DIR            a PNG per output frame, DIR/frame_00000.png on\n"
    "  --at LIST               with --frames: only the frames at these times;\n"
    "                          comma-separated, each either seconds from the start\n"
    "                          (12.5) or SLOT:SECONDS into a scene (4:1.5)\n"
    "  --contact-sheet FILE    one PNG with a labelled still from each scene\n"
    "  --soundtrack FILE.wav   the mixed soundtrack on its own\n"
    "  --timeline FILE         when the music, each sample and each scene started\n"
    "\n"
    "Settings:\n"
    "  --fps N                 output frame rate (default 60)\n"
    "  --pass-ms X             virtual time one pass of the main loop takes on\n"
    "                          top of its 1 ms wait (default 1)\n"
    "  --flip-ms X             virtual time a flip takes (default 2)\n"
    "  --media DIR             the pictures and sounds (default " CAPTURE_MEDIA_DIR ")\n"
    "  --png-level N           zlib level of the frame PNGs, 0 to 9 (default 6)\n";

// The moment of each scene that the contact sheet shows, in its own time.
struct SheetMoment {
    int slot;
    double seconds;
    const char *name;
    const char *what;
};
// Each lies well inside its scene at ordinary pass costs.
const SheetMoment sheet_moments[] = {
    {0, 1.2, "intro", "the logo crumbles into black"},
    {1, 3.4, "skene1", "a picture drifts right, bobbing"},
    {2, 2.45, "skene2", "a slide along the top, four stamps"},
    {3, 0.8, "skene3", "a starburst of glowing lines"},
    {4, 2.5, "skene4", "a rotating, zooming picture"},
    {5, 5.0, "skene5", "a scrolling strip, a sliding picture"},
    {7, 0.7, "the_end", "the end title, a leap and a streak"},
};

struct Options {
    capture::Settings settings;
    std::string video, frames, contact_sheet, soundtrack, timeline;
    std::string media = CAPTURE_MEDIA_DIR;
    std::vector<std::string> at;
    int png_level = 6;
};

// Scratch space for the video before its sound and for the sheet's stills;
// gone when the capture ends, however it ends.
fs::path scratch;

void remove_scratch()
{
    std::error_code ignored;
    if (!scratch.empty())
        fs::remove_all(scratch, ignored);
}

[[noreturn]] void fail(const std::string &message)
{
    std::fprintf(stderr, "capture: %s\n", message.c_str());
    std::exit(1);
}

[[noreturn]] void usage_error(const std::string &message)
{
    std::fprintf(stderr, "capture: %s\n\n%s", message.c_str(), usage_text);
    std::exit(2);
}

double parse_number(const std::string &option, const std::string &text)
{
    char *end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(value) || value < 0)
        usage_error(option + " needs a number of 0 or more, not '" + text + "'");
    return value;
}

std::uint64_t microseconds(double ms_or_s, double scale)
{
    return (std::uint64_t)std::llround(ms_or_s * scale);
}

std::vector<std::string> split(const std::string &text, char separator)
{
    std::vector<std::string> parts;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, separator))
        parts.push_back(part);
    return parts;
}

Options parse(int argc, char **argv)
{
    Options o;
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(usage_text, stdout);
            std::exit(0);
        }
        if (i + 1 >= argc)
            usage_error("unknown option or missing value: " + arg);
        std::string value = argv[++i];
        if (arg == "--video") o.video = value;
        else if (arg == "--frames") o.frames = value;
        else if (arg == "--contact-sheet") o.contact_sheet = value;
        else if (arg == "--soundtrack") o.soundtrack = value;
        else if (arg == "--timeline") o.timeline = value;
        else if (arg == "--media") o.media = value;
        else if (arg == "--at") {
            for (const std::string &item : split(value, ','))
                o.at.push_back(item);
        } else if (arg == "--fps") {
            double fps = parse_number(arg, value);
            if (fps < 1 || fps > 1000 || fps != std::floor(fps))
                usage_error("--fps needs a whole number from 1 to 1000");
            o.settings.fps = (int)fps;
        } else if (arg == "--pass-ms") {
            o.settings.pass_us = microseconds(parse_number(arg, value), 1000.0);
        } else if (arg == "--flip-ms") {
            o.settings.flip_us = microseconds(parse_number(arg, value), 1000.0);
        } else if (arg == "--png-level") {
            double level = parse_number(arg, value);
            if (level > 9 || level != std::floor(level))
                usage_error("--png-level needs a whole number from 0 to 9");
            o.png_level = (int)level;
        } else {
            usage_error("unknown option: " + arg);
        }
    }
    if (!o.at.empty() && o.frames.empty())
        usage_error("--at chooses which frames --frames writes; give --frames DIR too");
    if (o.video.empty() && o.frames.empty() && o.contact_sheet.empty() && o.soundtrack.empty() &&
        o.timeline.empty())
        usage_error("nothing to write");
    // The demo runs in the media folder: paths given here are from where we are.
    for (std::string *path : {&o.video, &o.frames, &o.contact_sheet, &o.soundtrack, &o.timeline, &o.media}) {
        if (!path->empty())
            *path = fs::absolute(*path).lexically_normal().string();
    }
    return o;
}

std::string frame_name(int index)
{
    char name[32];
    std::snprintf(name, sizeof name, "frame_%05d.png", index);
    return name;
}

std::string ms_text(std::uint64_t us)
{
    char text[32];
    std::snprintf(text, sizeof text, "%llu.%03llu", (unsigned long long)(us / 1000),
                  (unsigned long long)(us % 1000));
    return text;
}

std::string seconds_text(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", seconds);
    return text;
}

// The video encoder, fed raw RGB frames through a pipe as they are shown.
class VideoEncoder {
public:
    VideoEncoder(const std::string &path, int fps) : path_(path), fps_(fps) {}
    ~VideoEncoder()
    {
        if (pipe_ != nullptr)
            pclose(pipe_);
    }

    void write(const Image &image)
    {
        if (pipe_ == nullptr)
            start(image.w, image.h);
        if (std::fwrite(image.rgb.data(), 1, image.rgb.size(), pipe_) != image.rgb.size())
            fail("the video encoder stopped taking frames (is ffmpeg with libx264 installed?)");
    }

    void close()
    {
        if (pipe_ == nullptr)
            return;
        int status = pclose(pipe_);
        pipe_ = nullptr;
        if (status != 0)
            fail("ffmpeg could not encode the video");
    }

private:
    void start(int w, int h)
    {
        // Lossy but near-transparent H.264 in the pixel format every player takes.
        std::vector<std::string> command = {
            "ffmpeg", "-nostdin", "-v", "error", "-y",
            "-f", "rawvideo", "-pix_fmt", "rgb24", "-s", std::to_string(w) + "x" + std::to_string(h),
            "-framerate", std::to_string(fps_), "-i", "-",
            "-an", "-c:v", "libx264", "-preset", "medium", "-crf", "18", "-pix_fmt", "yuv420p",
            path_};
        pipe_ = popen(capture::command_line(command).c_str(), "w");
        if (pipe_ == nullptr)
            fail("cannot start ffmpeg");
    }

    std::string path_;
    int fps_;
    FILE *pipe_ = nullptr;
};

struct SheetStill {
    const SheetMoment *moment;
    int frame = -1;
    Image image;
};

}  // namespace

int main(int argc, char **argv)
{
    Options options = parse(argc, argv);
    auto started = std::chrono::steady_clock::now();
    std::signal(SIGPIPE, SIG_IGN);

    std::string scratch_template = (fs::temp_directory_path() / "capture.XXXXXX").string();
    if (mkdtemp(scratch_template.data()) == nullptr)
        fail("cannot make a scratch folder");
    scratch = scratch_template;
    std::atexit(remove_scratch);

    if (!options.frames.empty()) {
        std::error_code error;
        fs::create_directories(options.frames, error);
        if (error)
            fail("cannot make " + options.frames + ": " + error.message());
    }

    std::unique_ptr<VideoEncoder> video;
    if (!options.video.empty())
        video = std::make_unique<VideoEncoder>((scratch / "video.mp4").string(), options.settings.fps);

    std::vector<SheetStill> sheet;
    if (!options.contact_sheet.empty()) {
        for (const SheetMoment &moment : sheet_moments) {
            SheetStill still;
            still.moment = &moment;
            sheet.push_back(still);
        }
    }
    std::multimap<int, SheetStill *> sheet_by_frame;
    std::map<int, std::string> frames_at;  // --at item of each chosen frame
    long pngs_written = 0;

    Session session(options.settings, [&](int index, const Image *image) {
        if (video)
            video->write(*image);
        if (image == nullptr)
            return;
        bool as_png = !options.frames.empty() && (options.at.empty() || frames_at.count(index));
        if (as_png) {
            std::string path = (fs::path(options.frames) / frame_name(index)).string();
            if (!capture::write_png(path, image->w, image->h, image->rgb.data(), options.png_level))
                fail("cannot write " + path);
            pngs_written++;
        }
        auto range = sheet_by_frame.equal_range(index);
        for (auto it = range.first; it != range.second; ++it)
            it->second->image = *image;
    });
    capture::current = &session;

    // Every frame is a picture for the video and for a full set of PNGs;
    // otherwise only the chosen ones are.
    session.want_all_frames(video != nullptr || (!options.frames.empty() && options.at.empty()));
    for (const std::string &item : options.at) {
        std::vector<std::string> parts = split(item, ':');
        if (parts.size() == 1) {
            int index = session.frame_at(microseconds(parse_number("--at", parts[0]), 1e6));
            session.want_frame(index);
            frames_at[index] = item;
        } else if (parts.size() == 2) {
            double slot = parse_number("--at", parts[0]);
            if (slot > 7 || slot != std::floor(slot))
                usage_error("--at SLOT:SECONDS needs a scene slot from 0 to 7, not '" + parts[0] + "'");
            std::uint64_t offset = microseconds(parse_number("--at", parts[1]), 1e6);
            session.want_scene_frame((int)slot, offset, [&frames_at, item](int index) {
                if (index >= 0)
                    frames_at[index] = item;
                else
                    std::fprintf(stderr, "capture: --at %s: the scene never started\n", item.c_str());
            });
        } else {
            usage_error("--at: cannot read '" + item + "'");
        }
    }
    for (SheetStill &still : sheet) {
        SheetStill *target = &still;
        session.want_scene_frame(still.moment->slot, microseconds(still.moment->seconds, 1e6),
                                 [target, &sheet_by_frame](int index) {
                                     target->frame = index;
                                     if (index >= 0)
                                         sheet_by_frame.emplace(index, target);
                                 });
    }

    // The demo as it runs: headless, in its media folder.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (chdir(options.media.c_str()) != 0)
        fail("cannot enter the media folder " + options.media);
    int status = demo_main();
    std::fflush(stdout);
    if (status != 0)
        fail("the demo could not start");
    std::uint64_t ended_us = session.now_us();
    session.finish();

    if (video)
        video->close();

    if (!options.video.empty() || !options.soundtrack.empty()) {
        capture::Soundtrack sound;
        std::string error;
        if (!capture::mix_soundtrack(session, sound, error))
            fail(error);
        std::string wav = options.soundtrack.empty() ? (scratch / "soundtrack.wav").string() : options.soundtrack;
        if (!capture::write_wav(wav, sound))
            fail("cannot write " + wav);
        if (!options.video.empty()) {
            std::vector<std::string> command = {
                "ffmpeg", "-nostdin", "-v", "error", "-y",
                "-i", (scratch / "video.mp4").string(), "-i", wav,
                "-map", "0:v", "-map", "1:a", "-c:v", "copy", "-c:a", "aac", "-b:a", "192k",
                "-movflags", "+faststart", options.video};
            if (!capture::run_command(command))
                fail("ffmpeg could not put the video and the soundtrack together");
        }
    }

    if (!options.contact_sheet.empty()) {
        // The stills go to the sheet script with their labels, one per line.
        std::ofstream manifest(scratch / "sheet.txt");
        manifest << "title\tlumova demo\n";
        manifest << "subtitle\t31.5 s, 640 x 480; stills from the capture at " << options.settings.fps
                 << " fps\n";
        for (const SheetStill &still : sheet) {
            std::string png;
            std::string when = "never reached";
            if (still.frame >= 0 && !still.image.rgb.empty()) {
                png = (scratch / frame_name(still.frame)).string();
                if (!capture::write_png(png, still.image.w, still.image.h, still.image.rgb.data(), 6))
                    fail("cannot write " + png);
                double at = (double)session.frame_time_us(still.frame) / 1e6;
                when = seconds_text(at) + " s";
            }
            manifest << "still\t" << (png.empty() ? "-" : png) << "\t" << still.moment->slot << "\t"
                     << still.moment->name << "\t" << still.moment->what << "\t" << when << "\n";
        }
        manifest.close();
        std::vector<std::string> command = {"/usr/bin/python3", std::string(CAPTURE_TOOL_DIR) + "/contact_sheet.py",
                                            (scratch / "sheet.txt").string(), options.contact_sheet};
        if (!capture::run_command(command))
            fail("could not compose the contact sheet");
    }

    if (!options.timeline.empty()) {
        std::ofstream out(options.timeline);
        out << "# what the capture saw, in virtual milliseconds from tick 0\n";
        out << "fps " << options.settings.fps << "\n";
        out << "frames " << session.frame_count() << "\n";
        out << "pass_ms " << ms_text(options.settings.pass_us) << "\n";
        out << "flip_ms " << ms_text(options.settings.flip_us) << "\n";
        const capture::AudioDevice &audio = session.audio();
        if (audio.open)
            out << "audio " << audio.frequency << " " << audio.channels << " " << audio.chunksize << "\n";
        const capture::MusicStart &music = session.music();
        if (music.started)
            out << "music " << ms_text(music.at_us) << " " << music.file << " loops " << music.loops << " fade "
                << music.fade_ms << " volume " << music.volume << "\n";
        for (const capture::SceneStart &scene : session.scenes())
            out << "scene " << scene.slot << " " << ms_text(scene.at_us) << " clock " << scene.clock_base << "\n";
        for (const capture::SampleStart &sample : session.samples())
            out << "sample " << ms_text(sample.at_us) << " " << sample.name << " channel " << sample.channel
                << " frames " << sample.pcm.size() / (size_t)std::max(1, audio.channels) << "\n";
        for (const auto &chosen : frames_at)
            out << "still " << chosen.first << " " << ms_text(session.frame_time_us(chosen.first)) << " "
                << chosen.second << "\n";
        out << "flips " << session.flips() << "\n";
        out << "passes " << session.passes() << "\n";
        out << "end " << ms_text(ended_us) << "\n";
        if (!out)
            fail("cannot write " + options.timeline);
    }

    double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::fprintf(stderr, "capture: %d frames at %d fps (%ld PNGs), %ld flips, demo ended at %s ms; took %.1f s\n",
                 session.frame_count(), options.settings.fps, pngs_written, session.flips(),
                 ms_text(ended_us).c_str(), took);
    return 0;
}
