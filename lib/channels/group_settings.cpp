// The group settings of the group edit window as a field-table area: the name and
// the group-scan bit of every group in use, keyed `group.G.name` and
// `group.G.scan_add` (G from 1). Groups without channels are not listed.
#include "channels/channel_store.h"
#include "features/field_areas.h"

namespace vrl {

namespace {
constexpr int kTextGroup = 206;
constexpr int kTextGroupName = 233;
constexpr int kTextScanAdd = 234;
constexpr int kTextGroupEdit = 232;
// The characters of names on the radio's display; lower case is stored upper case.
constexpr char kNameCharacters[] =
    "%+=()@_$#*-/0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz\\";
} // namespace

FieldArea groupSettingsArea() {
    FieldArea area;
    area.name = "group";
    area.titleText = kTextGroupEdit;
    area.offered = [](const FieldContext& c) { return ChannelStore(c.data, c.texts).hasGroups(); };
    area.build = [](const FieldContext& c) {
        FieldTable table;
        ChannelStore store(c.data, c.texts);
        for (int g = 0; g < store.groupCount(); ++g) {
            if (!store.groupExists(g)) continue;
            const std::string prefix = "group." + std::to_string(g + 1) + ".";
            const std::string group = c.text(kTextGroup) + " " + std::to_string(g + 1) + ": ";

            Field name;
            name.key = prefix + "name";
            name.label = group + c.text(kTextGroupName);
            name.kind = FieldKind::Edit;
            name.controlId = 1342;
            name.maxLength = store.groupNameLength();
            name.allowed = kNameCharacters;
            name.upperCase = true;
            name.text = [g](const FieldContext& x) { return ChannelStore(x.data, x.texts).getGroupName(g); };
            name.setText = [g](FieldContext& x, const std::string& t) {
                ChannelStore(x.data, x.texts).setGroupName(t, g);
            };
            name.enabled = [g](const FieldContext& x) {
                return ChannelStore(x.data, x.texts).groupNameEditable(g);
            };
            name.notifies = true;
            table.push_back(std::move(name));

            Field scan;
            scan.key = prefix + "scan_add";
            scan.label = group + c.text(kTextScanAdd);
            scan.kind = FieldKind::Check;
            scan.controlId = 1494;
            scan.value = [g](const FieldContext& x) { return int(ChannelStore(x.data, x.texts).getGroupScan(g)); };
            scan.setValue = [g](FieldContext& x, int on) { ChannelStore(x.data, x.texts).setGroupScan(g, on != 0); };
            scan.enabled = [g](const FieldContext& x) {
                return ChannelStore(x.data, x.texts).groupScanEditable(g);
            };
            scan.notifies = true;
            table.push_back(std::move(scan));
        }
        return table;
    };
    return area;
}

} // namespace vrl
