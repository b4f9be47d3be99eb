/* orvane-amrenc: a native Linux helper of the encoder bridge. Debian's ffmpeg has no AMR encoder;
 * this program encodes 16-bit little-endian mono PCM into the AMR storage format with Debian's
 * encoder libraries.
 *
 *   orvane-amrenc nb|wb KBITS INPUT.pcm OUTPUT.amr
 *
 * nb: narrow band, 8000 Hz input; wb: wide band, 16000 Hz input. KBITS picks the highest mode whose
 * rate does not exceed it (the lowest mode when all do; 0 means the highest mode). */
#include <opencore-amrnb/interf_enc.h>
#include <vo-amrwbenc/enc_if.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const double NarrowRates[] = {4.75, 5.15, 5.9, 6.7, 7.4, 7.95, 10.2, 12.2};
static const double WideRates[] = {6.6, 8.85, 12.65, 14.25, 15.85, 18.25, 19.85, 23.05, 23.85};

static int PickMode(const double* Rates, int Count, double Kbits) {
  int Mode = 0;
  if (Kbits <= 0) return Count - 1;
  for (int I = 0; I < Count; ++I)
    if (Rates[I] <= Kbits + 1e-9) Mode = I;
  return Mode;
}

/* Reads one frame of samples, padding a short last frame with silence; returns the samples read. */
static size_t ReadFrame(FILE* In, short* Samples, size_t Count) {
  unsigned char Bytes[640];
  size_t Got = fread(Bytes, 2, Count, In);
  for (size_t I = 0; I < Count; ++I)
    Samples[I] = I < Got ? (short)(Bytes[2 * I] | (Bytes[2 * I + 1] << 8)) : 0;
  return Got;
}

int main(int argc, char** argv) {
  if (argc != 5 || (strcmp(argv[1], "nb") != 0 && strcmp(argv[1], "wb") != 0)) {
    fprintf(stderr, "usage: orvane-amrenc nb|wb KBITS INPUT.pcm OUTPUT.amr\n");
    return 2;
  }
  int Wide = strcmp(argv[1], "wb") == 0;
  double Kbits = atof(argv[2]);
  FILE* In = fopen(argv[3], "rb");
  if (!In) {
    perror(argv[3]);
    return 1;
  }
  FILE* Out = fopen(argv[4], "wb");
  if (!Out) {
    perror(argv[4]);
    fclose(In);
    return 1;
  }
  short Samples[320];
  unsigned char Frame[64];
  long Frames = 0;
  int Failed = 0;
  if (Wide) {
    int Mode = PickMode(WideRates, 9, Kbits);
    void* State = E_IF_init();
    fputs("#!AMR-WB\n", Out);
    while (ReadFrame(In, Samples, 320) > 0) {
      int Size = E_IF_encode(State, Mode, Samples, Frame, 0);
      if (Size <= 0 || fwrite(Frame, 1, (size_t)Size, Out) != (size_t)Size) { Failed = 1; break; }
      ++Frames;
    }
    E_IF_exit(State);
    fprintf(stderr, "orvane-amrenc: %ld AMR-WB frames at %.2f kbit/s\n", Frames, WideRates[Mode]);
  } else {
    int Mode = PickMode(NarrowRates, 8, Kbits);
    void* State = Encoder_Interface_init(0);
    fputs("#!AMR\n", Out);
    while (ReadFrame(In, Samples, 160) > 0) {
      int Size = Encoder_Interface_Encode(State, (enum Mode)Mode, Samples, Frame, 0);
      if (Size <= 0 || fwrite(Frame, 1, (size_t)Size, Out) != (size_t)Size) { Failed = 1; break; }
      ++Frames;
    }
    Encoder_Interface_exit(State);
    fprintf(stderr, "orvane-amrenc: %ld AMR-NB frames at %.2f kbit/s\n", Frames, NarrowRates[Mode]);
  }
  fclose(In);
  if (fclose(Out) != 0) Failed = 1;
  if (Failed) fprintf(stderr, "orvane-amrenc: writing %s failed\n", argv[4]);
  return Failed;
}
