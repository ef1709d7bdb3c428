// The verdict of one selection, for a helper object whose file is a signed
// DLL of 1 MB and of 50 MB: the click (all that input waits for: the
// registry's part, the file's handed to the runner) and the file's check
// itself (its signature covers every byte). The files are the ones
// scripts/bench.sh makes for the Wine run, in BRV_BENCH_SAMPLES.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "base/text.h"
#include "bench/bench.h"
#include "catalogue/bhos.h"
#include "files/examine.h"

namespace brv::bench {

BRV_BENCH(Verdict_signed_file) {
  const char* folder = std::getenv("BRV_BENCH_SAMPLES");
  const auto path = [folder](int megabytes) {
    return std::string(folder) + "\\signed-" + std::to_string(megabytes) + "mb.dll";
  };
  if (!folder || env.form->files->Kind(path(1)) != FileKind::File) {
    std::printf("Verdict: no signed sample files here (scripts/bench.sh makes them under Wine)\n");
    return;
  }
  for (int megabytes : {1, 50}) {
    Files& files = *env.form->files;
    bool first = true;
    double cold = 0;
    SignatureState state = SignatureState::Unchecked;
    const double check = Time([&] {
      const double took = Time(
          [&] { state = Examine(files, path(megabytes), FileUse::Library, false).signature.state; },
          1);
      if (first) cold = took;
      first = false;
    });
    std::printf(
        "Verdict file check, %2d MB signed DLL: %8.1f ms (first %8.1f ms), off the window's "
        "thread; %s\n",
        megabytes, check * 1e3, cold * 1e3,
        state == SignatureState::Valid ? "signature verified" : "SIGNATURE NOT VERIFIED");
  }
  for (int megabytes : {1, 50}) {
    env.reset();
    std::unique_ptr<RegKey> key;
    env.registry->CreateKey(kLocalMachine, std::string(kBhoPath) + "\\" + Identifier(1), &key);
    env.registry->CreateKey(kClassesRoot, "CLSID\\" + Identifier(1) + "\\InprocServer32", &key);
    key->SetValue("", RegData{kRegSz, Utf8ToUtf16LeBytes(path(megabytes), true)});
    Form1& form = *env.form;
    CODINGS4(form);
    form.List6->SetListIndex(0);
    const double click = Time([&] { List6_Click(form); });
    std::printf("Verdict click,      %2d MB signed DLL: %8.3f ms that input waits\n", megabytes,
                click * 1e3);
  }
}

}  // namespace brv::bench
