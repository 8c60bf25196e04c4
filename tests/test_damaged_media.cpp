// The whole demo in simulated time over damaged media folders: whatever is
// missing or broken, it plays what it can, on schedule, and ends at the limit.
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/globals.h"
#include "runtime/runtime.h"
#include "support/fake_sdl.h"

namespace fs = std::filesystem;

namespace {

const char *const PICTURES[12] = {
    "lumovalogo.gif", "lumova1.gif", "mystikko.gif",    "blaa.gif",
    "vors3.jpg",      "lumova2.jpg", "metsa.jpg",       "lepikkorapu.jpg",
    "lumova3.jpg",    "the_end.jpg", "lumova.jpg",      "blood.png",
};
const char *const MUSIC = "soikkelimetsa.mp3";
const char *const SAMPLES[5] = {"vorsenna.wav", "valahdys.wav", "tajuu.wav", "soikkeli.wav", "lepikko.wav"};

std::string fixture(const std::string &name)
{
    return std::string(SOURCE_DIR) + "/tests/fixtures/" + name;
}

std::string extension(const std::string &name)
{
    return name.substr(name.rfind('.') + 1);
}

struct Damage {
    std::string name;
    std::function<void(const TempDir &)> apply;
    bool music_loads;
    int samples_heard;
};

// Test names and failure messages show the case by its name.
void PrintTo(const Damage &damage, std::ostream *out)
{
    *out << damage.name;
}

void remove_file(const TempDir &dir, const std::string &name)
{
    fs::remove(dir.file(name));
}

void truncate_file(const TempDir &dir, const std::string &name)
{
    std::string bytes = read_file(dir.file(name));
    write_file(dir.file(name), bytes.substr(0, bytes.size() / 2));
}

void every_picture_from(const TempDir &dir, const std::string &stem)
{
    for (const char *p : PICTURES)
        fs::copy_file(fixture(stem + "." + extension(p)), dir.file(p), fs::copy_options::overwrite_existing);
}

std::vector<Damage> damages()
{
    std::vector<Damage> all;
    for (const char *p : PICTURES)
        all.push_back({std::string("missing ") + p, [p](const TempDir &d) { remove_file(d, p); }, true, 5});
    all.push_back({"missing music", [](const TempDir &d) { remove_file(d, MUSIC); }, false, 5});
    for (const char *s : SAMPLES)
        all.push_back({std::string("missing ") + s, [s](const TempDir &d) { remove_file(d, s); }, true, 4});
    all.push_back({"nothing at all",
                   [](const TempDir &d) {
                       for (const auto &entry : fs::directory_iterator(d.path()))
                           fs::remove(entry.path());
                   },
                   false, 0});
    all.push_back({"zero-byte files",
                   [](const TempDir &d) {
                       for (const char *name : {"lumovalogo.gif", "vors3.jpg", "blood.png", MUSIC, "tajuu.wav"})
                           write_file(d.file(name), "");
                   },
                   false, 4});
    all.push_back({"truncated JPEG, GIF and PNG",
                   [](const TempDir &d) {
                       for (const char *name : {"vors3.jpg", "mystikko.gif", "blood.png", "lumovalogo.gif"})
                           truncate_file(d, name);
                   },
                   true, 5});
    all.push_back({"contents of another format",
                   [](const TempDir &d) {
                       fs::copy_file(d.file("vorsenna.wav"), d.file("lumova2.jpg"), fs::copy_options::overwrite_existing);
                       fs::copy_file(d.file("blood.png"), d.file("metsa.jpg"), fs::copy_options::overwrite_existing);
                       fs::copy_file(d.file("vors3.jpg"), d.file("lepikko.wav"), fs::copy_options::overwrite_existing);
                   },
                   true, 4});
    all.push_back({"1x1 pictures", [](const TempDir &d) { every_picture_from(d, "one_pixel"); }, true, 5});
    all.push_back({"2000x1500 pictures", [](const TempDir &d) { every_picture_from(d, "large"); }, true, 5});
    all.push_back({"32-bit float samples",
                   [](const TempDir &d) {
                       for (const char *s : SAMPLES)
                           fs::copy_file(fixture("float32.wav"), d.file(s), fs::copy_options::overwrite_existing);
                   },
                   true, 0});
    all.push_back({"8-bit samples",
                   [](const TempDir &d) {
                       for (const char *s : SAMPLES)
                           fs::copy_file(fixture("u8.wav"), d.file(s), fs::copy_options::overwrite_existing);
                   },
                   true, 5});
    all.push_back({"music that is not an MP3",
                   [](const TempDir &d) { write_file(d.file(MUSIC), std::string(4096, 'x')); }, false, 5});
    all.push_back({"music that is a picture",
                   [](const TempDir &d) {
                       fs::copy_file(d.file("blood.png"), d.file(MUSIC), fs::copy_options::overwrite_existing);
                   },
                   false, 5});
    return all;
}

class DamagedMedia : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedMedia, PlaysOnScheduleAndEndsAtTheLimit)
{
    const Damage &damage = GetParam();
    TempDir dir;
    for (const auto &entry : fs::directory_iterator(MEDIA_DIR))
        fs::copy_file(entry.path(), dir.file(entry.path().filename().string()));
    damage.apply(dir);

    fake::reset();
    fake::reset_demo_state();
    std::string output;
    int status;
    {
        InDir here(dir.path());
        fake::CaptureCout out;
        status = demo_main();
        output = out.text();
    }
    EXPECT_EQ(status, 0);
    // The schedule does not depend on the media: the same tick lines as an
    // undisturbed run under this clock, and the music line tells the truth.
    std::string music_line = damage.music_loads ? "jee\n" : "eimetsaa\n";
    EXPECT_EQ(output, music_line + "3001\n7900\n10803\n12003\n16004\n27001\n31501\n");
    EXPECT_EQ((int)fake::sounds.size(), damage.samples_heard);
    EXPECT_EQ(fake::flips, 15500);
}

std::string case_name(const ::testing::TestParamInfo<Damage> &info)
{
    std::string name;
    for (char c : info.param.name)
        name += std::isalnum((unsigned char)c) ? c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Matrix, DamagedMedia, ::testing::ValuesIn(damages()), case_name);

}  // namespace
