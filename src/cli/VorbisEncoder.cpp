#include "cli/VorbisEncoder.h"

#include "cli/CheckedFile.h"
#include "cli/SampleBlockEncoder.h"
#include "common/WavFormat.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>
#include <vorbis/vorbisenc.h>

namespace {

// Vorbis's quality, −0.1 to 1: its lowest steps are plenty for a tone at 8000 Hz, and cost as much time as the
// others.
constexpr float Quality = 0.4F;
constexpr int Threads = 2;
constexpr int ChunkSamples = 1 << 13;
// A block advances the sound by 1024 samples at most.
constexpr int BlockAdvance = 1024;

using Samples = std::shared_ptr<const std::vector<float>>;

struct Packet
{
    std::vector<unsigned char> data;
    ogg_int64_t granule = 0;
    ogg_int64_t number = 0;
    bool last = false;
};

// Vorbis's state for our settings; `ok` false when the library refuses them.
struct VorbisState
{
    vorbis_info info{};
    vorbis_dsp_state dsp{};
    vorbis_block block{};
    bool ok = false;

    VorbisState()
    {
        vorbis_info_init(&info);
        ok = vorbis_encode_init_vbr(&info, 1, WavFormat::SampleRate, Quality) == 0 &&
             vorbis_analysis_init(&dsp, &info) == 0;
        if (ok)
            vorbis_block_init(&dsp, &block);
    }
    ~VorbisState()
    {
        if (ok) {
            vorbis_block_clear(&block);
            vorbis_dsp_clear(&dsp);
        }
        vorbis_info_clear(&info);
    }
    VorbisState(const VorbisState&) = delete;
    VorbisState& operator=(const VorbisState&) = delete;
};

// One of the threads: all the samples go in, the packets of its own stretches come out, in order.
class Worker
{
public:
    // The samples waiting for the worker, at most: three stretches, so that while one worker works out its stretch
    // the other has its own to work out.
    Worker(int index, int segmentBlocks)
        : m_index(index), m_segmentBlocks(segmentBlocks),
          m_maxWaiting(size_t(3 * segmentBlocks * BlockAdvance / ChunkSamples + 2))
    {}
    ~Worker() { finish(); }
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    void start()
    {
        m_thread = std::thread([this] { run(); });
    }
    // Hands over samples (none: the end of the sound), once few enough are waiting.
    void push(Samples samples);
    // The next packet of this worker, if its number is `number`, waiting for it if `wait`.
    std::optional<Packet> take(ogg_int64_t number, bool wait);
    void finish();

private:
    void run();
    void analyse(VorbisState& vorbis, ogg_int64_t& blocks);

    int m_index;
    int m_segmentBlocks;
    size_t m_maxWaiting;
    std::thread m_thread;
    std::mutex m_mutex;
    // Each side wakes the other only for what it waits for: a packet every 256 samples would otherwise wake the
    // thread that waits for room to hand over samples, tens of thousands of times for nothing.
    std::condition_variable m_room;    // samples taken: room to hand over more
    std::condition_variable m_samples; // samples handed over
    std::condition_variable m_packets; // packets out, or the worker done
    std::deque<Samples> m_in;
    std::deque<Packet> m_out;
    bool m_done = false;
};

void Worker::push(Samples samples)
{
    std::unique_lock lock(m_mutex);
    m_room.wait(lock, [this] { return m_done || m_in.size() < m_maxWaiting; });
    m_in.push_back(std::move(samples));
    m_samples.notify_one();
}

std::optional<Packet> Worker::take(ogg_int64_t number, bool wait)
{
    std::unique_lock lock(m_mutex);
    if (wait)
        m_packets.wait(lock, [&] { return m_done || (!m_out.empty() && m_out.front().number <= number); });
    if (m_out.empty() || m_out.front().number != number)
        return std::nullopt;
    Packet packet = std::move(m_out.front());
    m_out.pop_front();
    return packet;
}

void Worker::finish()
{
    if (m_thread.joinable())
        m_thread.join();
}

void Worker::run()
{
    VorbisState vorbis;
    ogg_int64_t blocks = 0;
    for (bool end = false; !end && vorbis.ok;) {
        Samples samples;
        {
            std::unique_lock lock(m_mutex);
            m_samples.wait(lock, [this] { return !m_in.empty(); });
            samples = std::move(m_in.front());
            m_in.pop_front();
            m_room.notify_one();
        }
        end = !samples;
        const int count = end ? 0 : int(samples->size());
        if (count > 0)
            std::copy(samples->begin(), samples->end(), vorbis_analysis_buffer(&vorbis.dsp, count)[0]);
        vorbis_analysis_wrote(&vorbis.dsp, count);
        analyse(vorbis, blocks);
    }
    const std::lock_guard lock(m_mutex);
    m_done = true;
    m_room.notify_all();
    m_packets.notify_all();
}

// Cuts the samples into blocks, as the other worker does, and encodes those of its own stretches.
void Worker::analyse(VorbisState& vorbis, ogg_int64_t& blocks)
{
    while (vorbis_analysis_blockout(&vorbis.dsp, &vorbis.block) == 1) {
        const ogg_int64_t number = blocks++;
        if ((number / m_segmentBlocks) % Threads != m_index)
            continue;
        vorbis_analysis(&vorbis.block, nullptr);
        vorbis_bitrate_addblock(&vorbis.block);
        ogg_packet packet;
        while (vorbis_bitrate_flushpacket(&vorbis.dsp, &packet) == 1) {
            Packet out{{packet.packet, packet.packet + packet.bytes}, packet.granulepos, number, packet.e_o_s != 0};
            const std::lock_guard lock(m_mutex);
            m_out.push_back(std::move(out));
            m_packets.notify_one();
        }
    }
}

class VorbisEncoder : public SampleBlockEncoder
{
public:
    explicit VorbisEncoder(int segmentBlocks) : SampleBlockEncoder(ChunkSamples), m_segmentBlocks(segmentBlocks)
    {
        for (int i = 0; i < Threads; ++i)
            m_workers.push_back(std::make_unique<Worker>(i, segmentBlocks));
    }
    ~VorbisEncoder() override
    {
        if (m_started)
            for (auto& worker : m_workers)
                worker->push(nullptr);
        m_workers.clear();
        ogg_stream_clear(&m_ogg);
    }
    VorbisEncoder(const VorbisEncoder&) = delete;
    VorbisEncoder& operator=(const VorbisEncoder&) = delete;

    Failure create(const QString& path) override;
    Failure close() override;

private:
    Failure encode(const short* samples, qsizetype count) override;
    void writePackets(bool wait);
    void writePages(bool flush);

    int m_segmentBlocks;
    std::vector<std::unique_ptr<Worker>> m_workers;
    bool m_started = false;
    bool m_ended = false;
    ogg_int64_t m_next = 0;
    ogg_stream_state m_ogg{};
    CheckedFile m_out;
};

// The three headers, the same for both workers' encoders: their settings are the same.
Failure VorbisEncoder::create(const QString& path)
{
    VorbisState vorbis;
    if (!vorbis.ok)
        return QStringLiteral("l'encodeur Vorbis refuse ces réglages");
    if (Failure failed = m_out.open(path))
        return failed;
    ogg_stream_init(&m_ogg, 1);
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    ogg_packet identification, comments, codebooks;
    vorbis_analysis_headerout(&vorbis.dsp, &comment, &identification, &comments, &codebooks);
    ogg_stream_packetin(&m_ogg, &identification);
    writePages(true);
    ogg_stream_packetin(&m_ogg, &comments);
    ogg_stream_packetin(&m_ogg, &codebooks);
    writePages(true);
    vorbis_comment_clear(&comment);
    for (auto& worker : m_workers)
        worker->start();
    m_started = true;
    return {};
}

Failure VorbisEncoder::encode(const short* samples, qsizetype count)
{
    auto floats = std::make_shared<std::vector<float>>(size_t(count));
    std::transform(samples, samples + count, floats->begin(), [](short s) { return float(s) / 32768.0F; });
    for (auto& worker : m_workers)
        worker->push(floats);
    writePackets(false);
    return {};
}

// The packets of both workers in their order, as far as they are ready (or all of them, waiting for them).
void VorbisEncoder::writePackets(bool wait)
{
    while (!m_ended) {
        Worker& owner = *m_workers[size_t((m_next / m_segmentBlocks) % Threads)];
        std::optional<Packet> packet = owner.take(m_next, wait);
        if (!packet)
            return;
        ogg_packet op{packet->data.data(),  long(packet->data.size()), 0,
                      packet->last ? 1 : 0, packet->granule,           m_next + 3};
        ogg_stream_packetin(&m_ogg, &op);
        writePages(packet->last);
        m_ended = packet->last;
        ++m_next;
    }
}

void VorbisEncoder::writePages(bool flush)
{
    ogg_page page;
    while (flush ? ogg_stream_flush(&m_ogg, &page) : ogg_stream_pageout(&m_ogg, &page)) {
        m_out.write(page.header, page.header_len);
        m_out.write(page.body, page.body_len);
    }
}

Failure VorbisEncoder::close()
{
    writeOut();
    for (auto& worker : m_workers)
        worker->push(nullptr);
    m_started = false;
    writePackets(true);
    for (auto& worker : m_workers)
        worker->finish();
    if (!m_ended)
        setFailure(QStringLiteral("l'encodeur Vorbis n'a pas fini le son"));
    if (Failure failed = m_out.close())
        return failed;
    return failure();
}

} // namespace

Result<std::unique_ptr<SoundFileEncoder>> MakeVorbisEncoder(int segmentBlocks)
{
    auto encoder = std::make_unique<VorbisEncoder>(segmentBlocks);
    return std::unique_ptr<SoundFileEncoder>(std::move(encoder));
}
