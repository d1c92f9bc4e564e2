#include "soak.h"

#include <GL/gl.h>
#include <dirent.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

#include "gr.h"

namespace {

// Far more names than the display ever makes textures; Mesa hands out the
// lowest free names, so a leak shows up within them.
constexpr GLuint kTextureNameScan = 4096;

}  // namespace

long residentKilobytes()
{
    long pages = 0, resident = 0;
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm)
        return -1;
    const int read = std::fscanf(statm, "%ld %ld", &pages, &resident);
    std::fclose(statm);
    return read == 2 ? resident * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

long peakResidentKilobytes()
{
    rusage usage = {};
    return getrusage(RUSAGE_SELF, &usage) == 0 ? usage.ru_maxrss : -1;
}

int openFileCount()
{
    DIR* dir = opendir("/proc/self/fd");
    if (!dir)
        return -1;
    int count = 0;
    while (const dirent* entry = readdir(dir))
        if (entry->d_name[0] != '.')
            ++count;
    closedir(dir);
    return count - 1;  // the listing's own descriptor
}

int liveTextureCount()
{
    int count = 0;
    for (GLuint name = 1; name <= kTextureNameScan; ++name)
        if (glIsTexture(name))
            ++count;
    return count;
}

long refusedCallCount()
{
    const GrDiagnostics d = grDiagnostics();
    return static_cast<long>(d.rejectedIndices) + d.matrixOverflows + d.matrixUnderflows + d.clipOverflows +
           d.clipUnderflows + d.rejectedShapes + d.rejectedArguments + d.rejectedImages;
}

std::string describe(const SoakFigures& f)
{
    char line[256];
    std::snprintf(line, sizeof line,
                  "frame %ld: resident %.1f MB, %d files open, ", f.frames, f.residentKb / 1024.0, f.openFiles);
    std::string text = line;
    if (f.liveTextures >= 0)
        text += std::to_string(f.liveTextures) + " live textures, ";
    text += std::to_string(f.glErrors) + " GL errors, " + std::to_string(f.refusedCalls) + " refused calls";
    if (f.cycles > 0)
        text += ", " + std::to_string(f.cycles) + " context cycles";
    return text;
}

bool HeadlessDisplay::Start(int width, int height, int samples, std::string* error)
{
    Stop();
    target_ = std::make_unique<HeadlessTarget>(backend_);
    if (!target_->Init(renderer_, error))
        return false;
    width_ = width;
    height_ = height;
    samples_ = samples < 0 ? renderer_.Formats().DefaultSampleCount() : samples;
    if (!renderer_.Formats().IsSupported(samples_)) {
        *error = "no pixel format with " + std::to_string(samples_) + " samples";
        return false;
    }
    if (!target_->Prepare(renderer_, width, height, error))
        return false;
    started_ = true;
    return CreateContext(error);
}

bool HeadlessDisplay::UseBackend(const std::string& name)
{
    if (!isToolChoice(name))
        return false;
    backend_ = name;
    return true;
}

bool HeadlessDisplay::CreateContext(std::string* error)
{
    if (!renderer_.Create(target_->Surface(), samples_)) {
        *error = target_->CreateError() + " with " + std::to_string(samples_) + " samples";
        const char* images = grImageError();
        if (*images)
            *error += ": " + std::string(images);
        return false;
    }
    renderer_.Resize(width_, height_);
    return true;
}

void HeadlessDisplay::RunFrames(long n, bool running)
{
    for (long i = 0; i < n; ++i) {
        renderer_.Paint(running);
        target_->FinishFrame();
        glErrors_ += target_->DrainGlErrors();
        ++frames_;
    }
}

bool HeadlessDisplay::Recreate(std::string* error)
{
    renderer_.Destroy();
    const std::vector<PixelFormatEntry>& levels = renderer_.Formats().Entries();
    size_t next = 0;
    for (size_t i = 0; i < levels.size(); ++i)
        if (levels[i].samples == samples_)
            next = (i + 1) % levels.size();
    samples_ = levels[next].samples;
    ++cycles_;
    return CreateContext(error);
}

SoakFigures HeadlessDisplay::Figures() const
{
    SoakFigures f;
    f.frames = frames_;
    f.residentKb = residentKilobytes();
    f.openFiles = openFileCount();
    f.liveTextures = target_ && target_->UsesGl() ? liveTextureCount() : -1;
    f.glErrors = glErrors_;
    f.refusedCalls = refusedCallCount();
    f.cycles = cycles_;
    return f;
}

void HeadlessDisplay::Stop()
{
    if (!started_)
        return;
    renderer_.Destroy();
    target_.reset();
    started_ = false;
}
