// End-to-end tests of the teaflux program: it runs under the test's X display,
// is driven with xdotool and photographed with ImageMagick's import. There is
// no window manager, so keyboard focus is set explicitly before a key press.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

// Only a guard against a hung program; a healthy run is far quicker.
constexpr auto kDeadline = std::chrono::seconds(20);
constexpr auto kPollInterval = std::chrono::milliseconds(50);
constexpr int kWindowSize = 320;

const fs::path kExecutable = TEAFLUX_EXE;

// Polls `done` until it holds or the deadline passes; gives its last answer.
bool waitFor(const std::function<bool()>& done) {
    Clock::time_point end = Clock::now() + kDeadline;
    while (!done()) {
        if (Clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    return true;
}

std::string commandOutput(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return output;
    }
    char buffer[4096];
    size_t count;
    while ((count = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.append(buffer, count);
    }
    pclose(pipe);
    return output;
}

std::string fileText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

struct Rgb {
    int r;
    int g;
    int b;
    bool isWhite() const { return r == 255 && g == 255 && b == 255; }
};

// A screenshot as read from a binary PPM with 8-bit channels.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> bytes;

    Rgb at(int x, int y) const {
        const unsigned char* p = &bytes[(static_cast<size_t>(y) * width + x) * 3];
        return Rgb{p[0], p[1], p[2]};
    }
    bool operator==(const Picture& other) const {
        return width == other.width && height == other.height && bytes == other.bytes;
    }
    std::vector<Rgb> pixels() const {
        std::vector<Rgb> all;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                all.push_back(at(x, y));
            }
        }
        return all;
    }
};

Picture parsePpm(const std::string& data) {
    Picture picture;
    std::istringstream in(data);
    std::string magic;
    int maxValue = 0;
    in >> magic >> picture.width >> picture.height >> maxValue;
    in.get();
    size_t size = static_cast<size_t>(picture.width) * picture.height * 3;
    if (magic != "P6" || maxValue != 255 || data.size() < static_cast<size_t>(in.tellg()) + size) {
        return Picture{};
    }
    picture.bytes.assign(data.end() - size, data.end());
    return picture;
}

bool hasWindowSize(const Picture& picture) {
    return picture.width == kWindowSize && picture.height == kWindowSize;
}

// One run of the program, killed if a test leaves it running.
class TeafluxProcess {
  public:
    ~TeafluxProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }

    // Starts `executable` in `directory`, its standard output going to a file
    // there; `environment` is an extra NAME=value setting or null.
    void start(const fs::path& executable, const fs::path& directory,
               const char* environment = nullptr) {
        output_ = directory / "stdout.txt";
        pid_ = fork();
        if (pid_ == 0) {
            runChild(executable, directory, environment);
        }
        ASSERT_GT(pid_, 0) << "fork failed";
    }

    std::string output() const { return fileText(output_); }

    bool running() {
        if (pid_ > 0 && waitpid(pid_, &status_, WNOHANG) == pid_) {
            pid_ = 0;
        }
        return pid_ > 0;
    }

    // Exit code, or -1 when the program did not end by itself in time or was
    // ended by a signal.
    int exitCode() {
        if (!waitFor([this] { return !running(); })) {
            return -1;
        }
        return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
    }

    // Finds the program's window once it is mapped and drawn: its first frame
    // clears it to white, which an undrawn window never shows in every corner.
    bool waitForWindow() {
        bool found = waitFor([this] {
            window_ = commandOutput("xdotool search --onlyvisible --name '^Quennel$' 2>/dev/null");
            return !window_.empty() || !running();
        });
        if (!found || window_.empty() || window_.find('\n') != window_.size() - 1) {
            return false;
        }
        window_.pop_back();
        return waitFor([this] { return cornersWhite(screenshot()); });
    }

    Picture screenshot() const {
        return parsePpm(
            commandOutput("import -silent -window " + window_ + " -depth 8 ppm:- 2>/dev/null"));
    }

    // Waits until the picture has changed twice after `before`: the program
    // has then drawn at least one full frame after anything sent earlier.
    bool waitForNewFrames(const Picture& before) {
        Picture latest = before;
        for (int change = 0; change < 2; ++change) {
            Picture previous = latest;
            bool changed = waitFor([&] {
                latest = screenshot();
                return !(latest == previous) || !running();
            });
            if (!changed || !running()) {
                return false;
            }
        }
        return true;
    }

    void pressKey(const char* key) const {
        // xdotool waits for the focus change and would wait forever for a
        // window that has gone, so it gets a time limit.
        std::string command = "timeout 10 xdotool windowfocus --sync " + window_ + " key " + key;
        ASSERT_EQ(system(command.c_str()), 0) << command;
    }

    static bool cornersWhite(const Picture& picture) {
        if (!hasWindowSize(picture)) {
            return false;
        }
        int last = kWindowSize - 1;
        return picture.at(0, 0).isWhite() && picture.at(last, 0).isWhite() &&
               picture.at(0, last).isWhite() && picture.at(last, last).isWhite();
    }

  private:
    [[noreturn]] void runChild(const fs::path& executable, const fs::path& directory,
                               const char* environment) {
        // dup2 rather than freopen: freopen would flush the test's own pending
        // output into the file first.
        int output = open(output_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (output < 0 || dup2(output, STDOUT_FILENO) < 0 || chdir(directory.c_str()) != 0) {
            _exit(127);
        }
        if (environment != nullptr) {
            putenv(const_cast<char*>(environment));
        }
        execl(executable.c_str(), executable.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }

    pid_t pid_ = 0;
    int status_ = -1;
    fs::path output_;
    std::string window_;
};

class TeafluxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* display = getenv("DISPLAY");
        ASSERT_TRUE(display != nullptr && display[0] != '\0') << "needs an X display";
        // Xvfb resets itself whenever its last client leaves and refuses new
        // clients meanwhile. Holding a connection for the whole test keeps the
        // program's own connection out of such a reset.
        ASSERT_TRUE(waitFor([this] { return (display_ = XOpenDisplay(nullptr)) != nullptr; }))
            << "cannot open display " << display;
        std::string pattern = (fs::temp_directory_path() / "teaflux_e2e_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        fs::remove_all(dir_);
        if (display_ != nullptr) {
            XCloseDisplay(display_);
        }
    }

    // A copy of the program in the test directory, with only the named shader
    // files beside it, so that the others cannot be found.
    fs::path copyProgramWith(const std::vector<const char*>& shaders) {
        fs::copy_file(kExecutable, dir_ / "teaflux");
        for (const char* shader : shaders) {
            fs::copy_file(kExecutable.parent_path() / shader, dir_ / shader);
        }
        return dir_ / "teaflux";
    }

    Display* display_ = nullptr;
    fs::path dir_;
    TeafluxProcess teaflux_;
};

// The shader pair paints the teapot orange in shades: red over green over blue.
bool isShadedOrange(const Rgb& c) {
    return c.r > c.g && c.g > c.b;
}

TEST_F(TeafluxTest, DrawsTheShadedTeapotOnWhiteFromAnyDirectory) {
    teaflux_.start(kExecutable, dir_);
    ASSERT_TRUE(teaflux_.waitForWindow()) << teaflux_.output();
    EXPECT_EQ(teaflux_.output(), "Ready for GLSL\n");

    Picture picture = teaflux_.screenshot();
    ASSERT_TRUE(hasWindowSize(picture));
    int teapot = 0;
    int darkest = 255;
    int brightest = 0;
    for (const Rgb& c : picture.pixels()) {
        if (c.isWhite()) {
            continue;
        }
        EXPECT_TRUE(isShadedOrange(c)) << c.r << "," << c.g << "," << c.b;
        ++teapot;
        darkest = std::min(darkest, c.r);
        brightest = std::max(brightest, c.r);
    }
    // The teapot fills a good part of the window and its shading spans a wide
    // range of brightness.
    EXPECT_GT(teapot, kWindowSize * kWindowSize / 10);
    EXPECT_GT(brightest - darkest, 100);
    EXPECT_FALSE(picture.at(kWindowSize / 2, kWindowSize / 2).isWhite());
}

TEST_F(TeafluxTest, PictureMovesFromFrameToFrame) {
    teaflux_.start(kExecutable, dir_);
    ASSERT_TRUE(teaflux_.waitForWindow()) << teaflux_.output();
    Picture first = teaflux_.screenshot();
    EXPECT_TRUE(teaflux_.waitForNewFrames(first));
}

// The probe reports the uniform as each frame sent it and ends the program
// after the frame that follows 100 others.
TEST_F(TeafluxTest, TheTimeUniformCountsFrames) {
    teaflux_.start(kExecutable, dir_, "LD_PRELOAD=" TEAFLUX_TIME_PROBE);
    EXPECT_EQ(teaflux_.exitCode(), 0);
    std::string expected = "Ready for GLSL\n";
    for (int frames = 0; frames <= 100; ++frames) {
        expected +=
            "after " + std::to_string(frames) + " frames: time " + std::to_string(frames) + ".0\n";
    }
    EXPECT_EQ(teaflux_.output(), expected);
}

TEST_F(TeafluxTest, EscapeEndsWithCodeZeroAndOtherKeysAreIgnored) {
    teaflux_.start(kExecutable, dir_);
    ASSERT_TRUE(teaflux_.waitForWindow()) << teaflux_.output();

    teaflux_.pressKey("a");
    EXPECT_TRUE(teaflux_.waitForNewFrames(teaflux_.screenshot()));
    EXPECT_TRUE(teaflux_.running());

    teaflux_.pressKey("Escape");
    EXPECT_EQ(teaflux_.exitCode(), 0);
}

TEST_F(TeafluxTest, MissingShaderFileIsReportedAndTheWindowStillDraws) {
    fs::path program = copyProgramWith({"flatten.vert"});
    teaflux_.start(program, dir_);
    ASSERT_TRUE(teaflux_.waitForWindow()) << teaflux_.output();

    std::string output = teaflux_.output();
    EXPECT_EQ(output.rfind("Ready for GLSL\nCould not read shader file " +
                               (dir_ / "flatten.frag").string() + "\n",
                           0),
              0u)
        << output;
    // Without a linked program the teapot is drawn in the fixed pipeline's
    // default white, so the whole window shows the white clear colour.
    Picture picture = teaflux_.screenshot();
    ASSERT_TRUE(hasWindowSize(picture));
    for (const Rgb& c : picture.pixels()) {
        ASSERT_TRUE(c.isWhite()) << c.r << "," << c.g << "," << c.b;
    }
    EXPECT_TRUE(teaflux_.running());
    teaflux_.pressKey("Escape");
    EXPECT_EQ(teaflux_.exitCode(), 0);
}

// A FIFO in place of "flatten.vert" is refused without waiting for a writer,
// which no one would ever be: the window comes up and the file is reported.
TEST_F(TeafluxTest, AFifoInPlaceOfAShaderIsReportedAndTheWindowStillDraws) {
    ASSERT_EQ(mkfifo((dir_ / "flatten.vert").c_str(), 0600), 0);
    teaflux_.start(kExecutable, dir_);
    ASSERT_TRUE(teaflux_.waitForWindow()) << teaflux_.output();

    std::string output = teaflux_.output();
    EXPECT_EQ(output.rfind("Ready for GLSL\nCould not read shader file flatten.vert\n", 0), 0u)
        << output;
    EXPECT_TRUE(teaflux_.running());
}

TEST_F(TeafluxTest, ShaderInTheCurrentDirectoryComesFirst) {
    std::ofstream(dir_ / "flatten.frag")
        << "void main() { gl_FragColor = vec4(0.0, 0.0, 1.0, 1.0); }\n";
    teaflux_.start(kExecutable, dir_);
    ASSERT_TRUE(teaflux_.waitForWindow()) << teaflux_.output();

    int blue = 0;
    for (const Rgb& c : teaflux_.screenshot().pixels()) {
        if (!c.isWhite()) {
            ASSERT_TRUE(c.r == 0 && c.g == 0 && c.b == 255) << c.r << "," << c.g << "," << c.b;
            ++blue;
        }
    }
    EXPECT_GT(blue, kWindowSize * kWindowSize / 10);
}

TEST_F(TeafluxTest, WithoutShaderSupportSaysSoAndEndsWithCodeOne) {
    // Mesa drops the extension from its list when asked to.
    teaflux_.start(kExecutable, dir_, "MESA_EXTENSION_OVERRIDE=-GL_ARB_vertex_shader");
    EXPECT_EQ(teaflux_.exitCode(), 1);
    EXPECT_EQ(teaflux_.output(), "No GLSL support\n");
}

}  // namespace
