#include "reports/result_report.h"

#include "platform/rt/columns.h"
#include "platform/rt/numtext.h"
#include "platform/rt/text.h"
#include "reports/result_input.h"
#include "reports/rows.h"

namespace reports {

namespace {

const std::string kRule63(63, '=');
const std::string kRule65(65, '=');

// One line: a label followed at once by its value.
void line(rt::ColumnWriter& out, const std::string& label, const std::string& value = {}) {
    out.text(label + value).endLine();
}

void stageBlock(rt::ColumnWriter& out, int stage, const records::PortRecord& p) {
    using rt::format;
    line(out, kRule65);
    line(out, " Stage : ", std::to_string(stage));
    line(out, " Flow Rate Through Port (Kg/Hr) : ", format(p.FlowRate, "###0.000"));
    line(out, " Density of Input Stream (g/cm^3) : ", format(p.Density, "##0.000"));
    line(out, " Power Law Consistency (KPa.S^n) : ", format(p.Consistency, "##0.00"));
    line(out, " Power Law Index : ", format(p.PowerLawIndex, "#0.000"));
    line(out, " Viscosity Temperature Dependency (1/C) : ", format(p.ViscositySensitivity, "#0.0000"));
    line(out, " Reference Temperature (C) : ", format(p.ReferenceTemperature, "##0.00"));
    line(out, " Heat Capacity (KJ/(Kg. K)) : ", format(p.HeatCapacity, "##0.000"));
    line(out, " Heat Transfer Coefficient at Barrel Surface (W/(m^2.K)) : ", format(p.BarrelHtc, "###0.000"));
    line(out, " Heat Transfer Coefficient at Screw Surface (W/(m^2.K)) : ", format(p.ScrewHtc, "###0.000"));
    line(out, " Barrel Temperature (C) : ", format(p.BarrelTemperature, "##0.00"));
    line(out, " Screw Temperature (C) : ", format(p.ScrewTemperature, "##0.00"));
    line(out, kRule65);
    out.endLine();
}

void elementBlock(rt::ColumnWriter& out, int number, const records::ElementRecord& e, float radius) {
    using rt::format;
    line(out, kRule65);
    line(out, " Element Number : ", std::to_string(number));
    line(out, " Element Type :", shownText(e.Kind));
    line(out, " Element Position (mm) : ", format(e.SegmentStart * radius, "####0.00"));
    line(out, " Starvation Point within Element (mm) : ", format(e.StarvationPoint * radius, "###0.00"));
    line(out, " Element Length (mm) : ", format(e.SegmentLength * radius, "###0.00"));
    line(out, " Fill Factor Left to Starvation Point : ", format(e.FillLeft, "#0.00"));
    line(out, " Fill Factor Right to Starvation Point : ", format(e.FillRight, "#0.00"));
    line(out, " Pressure at Right End of the Element (MPa) : ", rt::generalForm(e.PressureEnd));
    line(out, " Temperature at Starvation Point (C) : ", format(e.TempStarvation, "##0.00"));
    line(out, " Temperature at Right End (C) : ", format(e.TempEnd, "##0.00"));
    line(out, " Avg Residence Time at Starvation Point (min) : ", format(e.ResTimeStarvation, "##0.00"));
    line(out, " Avg Residence Time at Right End (min) : ", format(e.ResTimeEnd, "##0.00"));
    line(out, " Cummulative Power at Right End (KW) : ", format(e.PowerEnd, "###0.00"));
    line(out, kRule65);
    out.endLine();
}

}  // namespace

std::vector<std::string> resultReport(const records::ResultData& r, std::size_t room) {
    using rt::format;
    const records::ParameterFileHeader& run = r.header.RunConditions;
    const records::SolidsBlock& s = r.solids;
    const records::MeltingBlock& m = r.melting;
    const float radius = screwRadius(r);

    rt::ColumnWriter out;
    out.endLine();
    line(out, rt::lineWithPath("Extruder file : ", shownText(r.header.ExtruderFile), "", room));
    line(out, "Screw Speed (RPM) : ", format(run.ScrewSpeed, "##0.00"));
    line(out, "Total throughput (kg/hr) : ", format(run.TotalThroughput, "###0.000"));
    line(out, "Die Pressure (MPa) : ", format(run.DiePressure, "##0.000"));
    out.endLine().endLine();
    line(out, "List Working Condition and Material Parameters");
    line(out, kRule63);
    line(out, "Solid Conveying and Melting Parameters");
    line(out, " Bulk Density of Solids(g/cc) : ", format(s.BulkDensity, "##0.000"));
    line(out, " Heat Capacity of Solids (KJ/Kg.K) : ", format(s.HeatCapacity, "##0.000"));
    line(out, " Thermal Conductivity of Solids (W/m.K) : ", format(s.ThermalConductivity, "##0.00"));
    line(out, " Friction Coeff at Barrel Surface : ", format(s.BarrelFriction, "#0.00"));
    line(out, " Friction Coeff at Screw Surface : ", format(s.ScrewFriction, "#0.00"));
    line(out, " Heat Transfer Coefficient at Barrel Surface (W/(m^2.K)) : ", format(s.BarrelHtc, "###0.00"));
    line(out, " Heat Transfer Coefficient at Screw Surface (W/(m^2.K)) : ", format(s.ScrewHtc, "###0.00"));
    line(out, " Barrel Temperature (C) : ", format(s.BarrelTemperature, "##0.00"));
    line(out, " Screw Temperature : ", format(s.ScrewTemperature, "##0.00"));
    line(out, " Solids Feed Temperature : ", format(s.FeedTemperature, "##0.00"));
    line(out, " Density of solids in Melting Region (g/cc) : ", format(m.Density, "##0.00"));
    line(out, " Heat Capacity of solids in Melting Region (KJ/Kg.K) : ", format(m.HeatCapacity, "##0.00"));
    line(out, " Melting Temperature (C) ", format(m.MeltingTemperature, "##0.00"));
    line(out, " Heat of Fusion (J/g) : ", format(m.HeatOfFusion, "##0.00"));
    line(out, kRule65);
    out.endLine().endLine();

    for (long i = 1; i <= static_cast<long>(r.ports.size()); ++i)
        stageBlock(out, static_cast<int>(i), record(r.ports, i));

    out.endLine();
    line(out, " Calculated Results ");
    out.endLine();
    line(out, kRule65);
    line(out, "Melting Region");
    line(out, "  Axial     Unmelted     Average    Pressure    Cummulative");
    line(out, "Location     Solid     Temperature   (MPa)         Power ");
    line(out, "  (mm)      Fraction       (C)                     (KW) ");
    for (const records::MeltProfileRow& p : r.profile) {
        out.text(format(p.AxialPosition * radius, "####0.00"));
        out.tab(15).text(format(p.SolidFraction, "##0.00"));
        out.tab(30).text(format(p.AverageTemperature, "###0.00"));
        out.tab(45).number(static_cast<double>(p.Pressure));
        out.tab(60).text(format(p.CumulativePower, "###0.000"));
        out.endLine();
    }
    line(out, kRule65);

    const long from = r.header.RunConditions.MeltEndElement;
    for (long e = from; e <= static_cast<long>(r.elements.size()); ++e)
        elementBlock(out, static_cast<int>(e), record(r.elements, e), radius);
    return out.takeLines();
}

}  // namespace reports
