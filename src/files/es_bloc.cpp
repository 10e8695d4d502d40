// The data file and scratch file of one block reading.
#include "files/es_bloc.hpp"

#include "files/es_util.hpp"
#include "messages/es_erreur.hpp"
#include "messages/es_messages.hpp"

namespace tesmo {

namespace {

constexpr char kCommentMark = '*';

} // namespace

int BlockReading::open(std::string_view name)
{
    close();
    int32_t unit = 0;
    int code = gesfic("O", name, kOpenOld, 0, unit);
    if (code == kOk) {
        dataUnit_ = unit;
        code = gesfic("O", " ", kOpenScratch, 0, unit);
        if (code == kOk) {
            scratchUnit_ = unit;
        }
    }
    if (code != kOk) {
        // A positive code names a unit that some other reading holds: it is not ours to close.
        close();
        esReport(kDataError, esmsg::kCantOpen, esmsg::kNone, name);
        return kDataError;
    }
    block_ = unitFile(scratchUnit_);
    return kOk;
}

int BlockReading::extract(std::string_view beginTag, std::string_view endTag, bool fromStart)
{
    UnitFile* data = unitFile(dataUnit_);
    if (data == nullptr || block_ == nullptr) {
        return kDataError;
    }
    if (fromStart) {
        data->rewind();
    }
    block_->rewind();
    int32_t comments = 0;
    const int code = gescom(dataUnit_, beginTag, endTag, kCommentMark, scratchUnit_, comments);
    if (code == kOk && block_->position_ == 0) {
        // An empty block: writing nothing leaves the previous block behind the position.
        block_->content.clear();
    }
    block_->rewind();
    return code == kOk ? kOk : kDataError;
}

void BlockReading::rewindBlock()
{
    if (block_ != nullptr) {
        block_->rewind();
    }
}

void BlockReading::close()
{
    block_ = nullptr;
    if (scratchUnit_ != 0) {
        (void)gesfic("F", " ", 0, 0, scratchUnit_);
        scratchUnit_ = 0;
    }
    if (dataUnit_ != 0) {
        (void)gesfic("F", " ", 0, 0, dataUnit_);
        dataUnit_ = 0;
    }
}

} // namespace tesmo
