// Work arrays sized for the job.
#include "shell/work_sizing.hpp"

#include "driver/driver.hpp"
#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"
#include "messages/mg_messages.hpp"
#include "support/codes.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

namespace tesmo {

namespace {

constexpr int64_t kMegabyte = 1024 * 1024;
/// Growth of the arrays when the job's need is unknown, and the least growth of any new run.
constexpr double kBlindGrowth = 2.5;
constexpr double kLeastGrowth = 1.25;
/// Margin over the estimated need: the estimate is a quadrature, the tables hold a little less
/// than the maxima they are carved for.
constexpr double kNeedMargin = 1.5;

/// Advises the system to back the whole 2 MB blocks of [start, start + bytes) by large pages
/// (a hint: nothing changes where the system has none).
void largePages(void* start, std::size_t bytes)
{
    constexpr std::uintptr_t kLargePage = std::uintptr_t(2) << 20;
    const auto first = (reinterpret_cast<std::uintptr_t>(start) + kLargePage - 1) & ~(kLargePage - 1);
    const auto last = (reinterpret_cast<std::uintptr_t>(start) + bytes) & ~(kLargePage - 1);
    if (last > first) {
        (void)madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    }
}

/// The two work arrays of one run, zero-filled. They come from calloc, which maps fresh zero
/// pages: a page costs memory only once a table touches it, so long arrays cost what the job
/// uses.
class WorkArrays {
public:
    WorkArrays() = default;
    WorkArrays(const WorkArrays&) = delete;
    WorkArrays& operator=(const WorkArrays&) = delete;
    ~WorkArrays() { release(); }
    /// Arrays of the given lengths, the former ones released first; false when refused.
    bool allocate(int64_t integers, int64_t reals)
    {
        release();
        itvl_ = static_cast<int32_t*>(std::calloc(std::size_t(integers), sizeof(int32_t)));
        rtvl_ = static_cast<float*>(std::calloc(std::size_t(reals), sizeof(float)));
        if (itvl_ == nullptr || rtvl_ == nullptr) {
            release();
            return false;
        }
        integers_ = int32_t(integers);
        reals_ = int32_t(reals);
        return true;
    }
    /// Asks for large pages under both arrays: a long job reads its tables at random places,
    /// and with small pages nearly every such read also misses the address translation cache.
    void preferLargePages() const
    {
        largePages(itvl_, std::size_t(integers_) * sizeof(int32_t));
        largePages(rtvl_, std::size_t(reals_) * sizeof(float));
    }
    Vec<int32_t> integers() const { return Vec<int32_t>(itvl_, integers_); }
    Vec<float> reals() const { return Vec<float>(rtvl_, reals_); }

private:
    void release()
    {
        std::free(itvl_);
        std::free(rtvl_);
        itvl_ = nullptr;
        rtvl_ = nullptr;
    }
    int32_t* itvl_ = nullptr;
    float* rtvl_ = nullptr;
    int32_t integers_ = 0;
    int32_t reals_ = 0;
};

/// The physical memory of the machine in bytes, 0 when it cannot be told.
int64_t physicalMemory()
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    return pages > 0 && pageSize > 0 ? int64_t(pages) * pageSize : 0;
}

/// The largest scale of the base lengths within the memory limit and the 32-bit indices.
double largestScale(const ArraySizing& sizing)
{
    const double base = double(sizing.baseIntegers) + double(sizing.baseReals);
    const double byMemory = double(sizing.limitBytes) / (4.0 * base);
    const double byIndex = double(kLongestArray) / double(std::max(sizing.baseIntegers, sizing.baseReals));
    return std::max(1.0, std::min(byMemory, byIndex));
}

/// The scale of the next arrays after a capacity stop on arrays `scale` times the base lengths,
/// where the tables held `held` nodes and the job wants `wanted` (0 unknown); at most `largest`.
double nextScale(double scale, int64_t held, int64_t wanted, double largest)
{
    double growth = kBlindGrowth;
    if (wanted > 0 && held > 0) {
        growth = std::max(kLeastGrowth, kNeedMargin * double(wanted) / double(held));
    }
    return std::min(largest, scale * growth);
}

} // namespace

int memoryLimit(const char* setting, ArraySizing& sizing)
{
    const int64_t base = 4 * (int64_t(sizing.baseIntegers) + sizing.baseReals);
    if (setting != nullptr) {
        // a whole number of megabytes, nothing else
        const std::string_view text(setting);
        const bool digits = !text.empty() && text.size() <= 12 &&
                            std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
        const int64_t megabytes = digits ? std::strtoll(setting, nullptr, 10) : 0;
        if (megabytes <= 0) {
            return kDataError;
        }
        sizing.limitBytes = std::max(base, megabytes * kMegabyte);
        sizing.limitMegabytes = (sizing.limitBytes + kMegabyte - 1) / kMegabyte;
        return kOk;
    }
    const int64_t physical = physicalMemory();
    const int64_t usable = physical > 0 ? physical - physical / 8 : 4096 * kMegabyte;
    sizing.limitMegabytes = usable / kMegabyte;
    sizing.limitBytes = std::max(base, usable);
    return kOk;
}


int generateGrowing(std::string_view geometry, std::string_view sizes, std::string_view mesh,
                    std::string_view nodalSizes, int32_t nbn, const ArraySizing& sizing, int32_t mode,
                    RunExtensions* caller)
{
    const double largest = largestScale(sizing);
    double scale = 1.0;
    double allocated = 1.0; // the scale of the last arrays the system gave
    bool last = false;
    std::string printed;
    WorkArrays arrays;
    for (;;) {
        // 1. the arrays of this run; the last run is the one at the limit, or at the longest
        //    arrays the system gives
        last = last || scale >= largest;
        const int64_t integers = std::clamp<int64_t>(int64_t(double(sizing.baseIntegers) * scale),
                                                     sizing.baseIntegers, kLongestArray);
        const int64_t reals = std::clamp<int64_t>(int64_t(double(sizing.baseReals) * scale), sizing.baseReals,
                                                  kLongestArray);
        if (!arrays.allocate(integers, reals)) {
            if (scale == allocated) {
                pgReport(kCapacityError, pgmsg::kNoIntegers, pgmsg::kNone, " ");
                return kCapacityError;
            }
            scale = allocated;
            last = true;
            continue;
        }
        allocated = scale;
        if (scale > 1.0) {
            arrays.preferLargePages(); // a job longer than the base arrays
        }
        RunExtensions extensions = caller != nullptr ? *caller : RunExtensions{};
        extensions.capacity = CapacityOutcome{};
        extensions.capacity.stopAtCapacity = !last;
        extensions.capacity.memoryLimited = last;
        // the limit told is the user's, or the arrays' when the 32-bit indices bound them first
        const int64_t arraysMegabytes = (4 * (integers + reals) + kMegabyte - 1) / kMegabyte;
        extensions.capacity.limitMegabytes =
            scale >= largest ? std::min(sizing.limitMegabytes, arraysMegabytes) : sizing.limitMegabytes;
        // 2. the run, its console text swallowed where it repeats an abandoned run's
        int code = kOk;
        {
            ConsoleRecord record(printed);
            code = mggmem(geometry, sizes, mesh, nodalSizes, nbn, arrays.integers(), arrays.reals(), mode,
                          &extensions);
            printed = record.text();
        }
        if (last || !extensions.capacity.stopped) {
            if (caller != nullptr) {
                *caller = extensions;
            }
            return code;
        }
        // 3. a capacity stop: longer arrays for the nodes the job wants
        scale = nextScale(scale, extensions.capacity.nodesHeld, extensions.capacity.nodesWanted, largest);
    }
}

} // namespace tesmo
