#include "state/ParamReaders.h"

#include "state/DeviceState.h"
#include "state/ParameterAddresses.h"

namespace sonoria {
namespace {

constexpr int kMicBandCount = 4;

// Where a microphone band's gain sits; its Q and frequency follow at +1 and +2.
constexpr ParamAddress kMicBandGain[kMicBandCount] = {kMicPeq1Gain, kMicPeq2Gain, kMicPeq3Gain, kMicPeq4Gain};

int ReadEncoded(Encoding encoding, int block, int index) {
    const ParamBytes bytes = GetParam(block, index, ParamCopy::Active);
    return DecodeValue(encoding, bytes.first, bytes.second);
}

int ReadMicBand(int band, int offset) {
    if (band < 0 || band >= kMicBandCount) return 0;
    const ParamAddress at = kMicBandGain[band];
    return ReadParamW15(at.block, at.index + offset);
}

}  // namespace

int ReadParam(const ParamInfo& param) {
    return ReadEncoded(param.encoding, param.address.block, param.address.index);
}

int ReadParamW15(int block, int index) { return ReadEncoded(Encoding::W15, block, index); }

int ReadParamS7(int block, int index) { return ReadEncoded(Encoding::S7, block, index); }

int ReadParamB2(int block, int index) { return ReadEncoded(Encoding::B2, block, index); }

int MicBandGain(int band) { return ReadMicBand(band, 0); }

int MicBandQ(int band) { return ReadMicBand(band, 1); }

int MicBandFreq(int band) { return ReadMicBand(band, 2); }

}  // namespace sonoria
