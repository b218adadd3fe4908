#include "FileCipher.h"

#include "ContainerFormat.h"
#include "FileStreams.h"

#include <cryptopp/secblock.h>

namespace cipherwell {
namespace {

// Wiped when it goes, since it carries plain text.
using PumpBuffer = CryptoPP::FixedSizeSecBlock<CryptoPP::byte, kPumpSize>;

PumpLoop MakeLoop(const FileJob& job)
{
    return PumpLoop(MessageTarget(job.window), ContinueFlag(job.continueFlag), job.intervalMs, job.ticks);
}

PumpLoop::Pump MakePump(SourceFile& source, CryptoPP::BufferedTransformation& chain, PumpBuffer& buffer)
{
    return [&source, &chain, &buffer] {
        const std::size_t moved = source.Read(buffer.data(), buffer.size());
        chain.Put(buffer.data(), moved);
        return moved;
    };
}

} // namespace

int EncryptFile(const FileJob& job)
{
    // The source is opened before the target is touched: an unreadable source must not cost an existing
    // target its content.
    SourceFile source(job.source);
    RefuseSameFile(job.source, job.target);
    TargetFile target;
    target.Open(job.target);
    const auto encryptor = MakeEncryptor(job.passPhrase, new TargetSink(target));

    PumpBuffer buffer;
    if (MakeLoop(job).Run(job.tag, MakePump(source, *encryptor, buffer)) == LoopEnd::Cancelled) {
        target.KeepPartial();
        return 0;
    }
    encryptor->MessageEnd();
    target.Finish();
    return ContinueFlag(job.continueFlag).Value();
}

int DecryptFile(const FileJob& job)
{
    SourceFile source(job.source);
    RefuseSameFile(job.source, job.target);
    TargetFile target;
    const auto decryptor = MakeDecryptor(job.passPhrase, new TargetSink(target));

    PumpBuffer buffer;
    const std::size_t firstRead = source.Read(buffer.data(), kKeyCheckReadSize);
    decryptor->Put(buffer.data(), firstRead);
    if (KeyState(*decryptor) != DecryptionState::KeyGood) {
        return 0;
    }
    target.Open(job.target);

    if (MakeLoop(job).Run(job.tag, MakePump(source, *decryptor, buffer)) == LoopEnd::Cancelled) {
        target.KeepPartial();
        return 0;
    }
    // The decryptor hands plain text on before it has seen the check value. When the check fails, the
    // target would hold unauthenticated (possibly attacker-chosen) bytes, so it is removed with the
    // TargetFile instead of being kept.
    if (EndMessage(*decryptor, *decryptor) != DecryptionState::CheckValueGood) {
        return 0;
    }
    target.Finish();
    return 1;
}

} // namespace cipherwell
