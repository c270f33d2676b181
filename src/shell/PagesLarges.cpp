#include "shell/PagesLarges.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace arbrix {

namespace {

constexpr const char* Tunable = "glibc.malloc.hugetlb";
// What GLIBC_TUNABLES was before the restart: "+value", or "-" when it was unset. The tunable is
// for this program alone: once started again, the environment its children get is put back.
constexpr const char* Avant = "ARBRIX_GLIBC_TUNABLES_AVANT";

// Puts back the environment of the first start; false when this is the first start.
bool RemetEnvironnementDAvant() {
    const char* avant = std::getenv(Avant);
    if (!avant)
        return false;
    if (avant[0] == '+')
        setenv("GLIBC_TUNABLES", avant + 1, 1);
    else
        unsetenv("GLIBC_TUNABLES");
    unsetenv(Avant);
    return true;
}

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
    if (RemetEnvironnementDAvant() || AllocateurDeSanitizer())
        return;
    const char* avant = std::getenv("GLIBC_TUNABLES");
    const std::string copieAvant = avant ? avant : "";
    const std::optional<std::string> tunables = TunablesPagesLarges(avant, ModeNoyau());
    if (!tunables || setenv(Avant, (avant ? '+' + copieAvant : std::string("-")).c_str(), 1) != 0)
        return;
    if (setenv("GLIBC_TUNABLES", tunables->c_str(), 1) == 0)
        execv("/proc/self/exe", argv);
    // Not started again: this run goes on, with the environment it was given.
    RemetEnvironnementDAvant();
#else
    (void)argv;
#endif
}

} // namespace arbrix
