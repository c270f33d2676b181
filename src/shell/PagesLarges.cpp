#include "shell/PagesLarges.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace arbrix {

namespace {

constexpr const char* Tunable = "glibc.malloc.hugetlb";

bool AllocateurDeSanitizer() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
    return true;
#else
    return false;
#endif
#else
    return false;
#endif
}

std::string ModeNoyau() {
    std::ifstream fichier("/sys/kernel/mm/transparent_hugepage/enabled");
    std::ostringstream texte;
    texte << fichier.rdbuf();
    return texte.str();
}

} // namespace

std::optional<std::string> TunablesPagesLarges(const char* actuels, const std::string& modeNoyau) {
    // "always [madvise] never": the bracketed word is the mode in force.
    const bool pagesLarges =
        modeNoyau.find("[always]") != std::string::npos || modeNoyau.find("[madvise]") != std::string::npos;
    const std::string courants = actuels ? actuels : "";
    if (!pagesLarges || courants.find(Tunable) != std::string::npos)
        return std::nullopt;
    return (courants.empty() ? std::string() : courants + ':') + Tunable + "=1";
}

void RelanceAvecPagesLarges(char* argv[]) {
#ifdef __GLIBC__
    if (AllocateurDeSanitizer())
        return;
    const char* avant = std::getenv("GLIBC_TUNABLES");
    const std::string copieAvant = avant ? avant : "";
    const std::optional<std::string> tunables = TunablesPagesLarges(avant, ModeNoyau());
    if (!tunables || setenv("GLIBC_TUNABLES", tunables->c_str(), 1) != 0)
        return;
    execv("/proc/self/exe", argv);
    // Not started again: this run goes on, with the environment it was given.
    if (avant)
        setenv("GLIBC_TUNABLES", copieAvant.c_str(), 1);
    else
        unsetenv("GLIBC_TUNABLES");
#else
    (void)argv;
#endif
}

} // namespace arbrix
