// The pages of the reference-input step in the order the wizard creates them (speed 2..7, 13;
// position 1..17; torque 1, 3..10, 12, 13), with the links between pages that read another page's
// current choice.
#include "wizard/ui/ReferencePages.h"
#include "wizard/ui/ExtPosPages.h"
#include "wizard/ui/SpeedPages.h"
#include "wizard/ui/TorquePages.h"

namespace {

template <class Page> Page* Add(std::vector<std::unique_ptr<CWizardPage>>& pages) {
    auto page = std::make_unique<Page>();
    Page* raw = page.get();
    pages.push_back(std::move(page));
    return raw;
}

} // namespace

std::vector<std::unique_ptr<CWizardPage>> CreateReferencePages() {
    std::vector<std::unique_ptr<CWizardPage>> pages;
    Add<CSetSpeedPage2Dialog>(pages);
    Add<CSetSpeedPage3Dialog>(pages);
    Add<CSetSpeedPage4Dialog>(pages);
    Add<CSetSpeedPage5Dialog>(pages);
    Add<CSetSpeedPage6Dialog>(pages);
    Add<CSetSpeedPage7Dialog>(pages);
    Add<CSetSpeedPage13Dialog>(pages);

    auto* pulseType = Add<CSetExtPosPage1Dialog>(pages);
    Add<CSetExtPosPage2Dialog>(pages)->m_PulseTypePage = pulseType;
    Add<CSetExtPosPage3Dialog>(pages);
    Add<CSetExtPosPage4Dialog>(pages);
    Add<CSetExtPosPage5Dialog>(pages);
    Add<CSetExtPosPage6Dialog>(pages);
    Add<CSetExtPosPage7Dialog>(pages);
    Add<CSetExtPosPage8Dialog>(pages);
    Add<CSetExtPosPage9Dialog>(pages);
    Add<CSetExtPosPage10Dialog>(pages);
    auto* reference = Add<CSetExtPosPage11Dialog>(pages);
    Add<CSetExtPosPage12Dialog>(pages)->m_ReferencePage = reference;
    Add<CSetExtPosPage13Dialog>(pages);
    Add<CSetExtPosPage14Dialog>(pages);
    Add<CSetExtPosPage15Dialog>(pages);
    Add<CSetExtPosPage16Dialog>(pages);
    Add<CSetExtPosPage17Dialog>(pages);

    Add<CSetTorquePage1Dialog>(pages);
    Add<CSetTorquePage3Dialog>(pages);
    Add<CSetTorquePage4Dialog>(pages);
    auto* accel = Add<CSetTorquePage5Dialog>(pages);
    Add<CSetTorquePage6Dialog>(pages)->m_AccelPage = accel;
    Add<CSetTorquePage7Dialog>(pages);
    Add<CSetTorquePage8Dialog>(pages)->m_AccelPage = accel;
    Add<CSetTorquePage9Dialog>(pages);
    auto* switching = Add<CSetTorquePage10Dialog>(pages);
    Add<CSetTorquePage12Dialog>(pages);
    Add<CSetTorquePage13Dialog>(pages)->m_SwitchingPage = switching;
    return pages;
}
