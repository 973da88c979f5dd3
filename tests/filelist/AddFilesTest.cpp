#include "filelist/AddFiles.h"
#include "support/Fixture.h"

#include <cderr.h>
#include <doctest.h>

#include "resource.h"

TEST_CASE("A selection too long for the buffer is chosen again with the largest one, once") {
    MainWindowFixture f;
    const auto tooLong = ScriptedServices::Failed(FNERR_BUFFERTOOSMALL, L"C:\\big");
    f.services.openResults = {tooLong, tooLong};
    f.Command(IDM_ADD);
    CHECK(f.services.Warnings() == Texts{L"The filename buffer is not large enough\r"
                                         L"to hold all the filenames you selected.\r\r"
                                         L"The program attempts to increase the buffer size.\r\r"
                                         L"If this does not solve the problem, you can try \r"
                                         L"to select fewer files at a time or to use drag & drop.",
                                         L"The following error occured while adding files:\r" +
                                             CommonDialogErrorText(FNERR_BUFFERTOOSMALL)});
    REQUIRE(f.services.openRequests.size() == 2);
    CHECK(f.services.openRequests[1].maxChars == 32767);
    CHECK(f.services.openRequests[1].initialDir == L"C:\\big");
    // The raise lasts until the next command, which starts from the preference again.
    f.Command(IDM_ADD);
    CHECK(f.services.openRequests.at(2).maxChars == 4096);
}
