// Payloads of the rows of the guide and timer lists; each belongs to the
// dialog that shows the row and lives as long as it.
#pragma once

#include <wx/datetime.h>
#include <wx/string.h>
#include <wx/treebase.h>

#include "epg/epgrules.h"
#include "webif/current.h"
#include "webif/payload.h"

// One event of the channel guide or of the search results.
class MyEPGListCtrlItemData : public wxTreeItemData {
public:
    // order: the event's position in the receiver's reply
    MyEPGListCtrlItemData(const EventFields& ev, int order);

    const wxString& getEventTitle() const { return title_; }
    const wxString& getEventDescription() const { return description_; }
    const wxString& getEventDescriptionExtended() const { return descriptionExt_; }
    const wxString& getServiceReference() const { return sRef_; }
    const wxString& getEventId() const { return eventId_; }
    const wxString& getEventStart() const { return start_; }
    const wxString& getDuration() const { return duration_; }

    const wxString& getServiceName() const { return serviceName_; }
    const EPGSortKey& sortKey() const { return key_; }

private:
    wxString title_, description_, descriptionExt_, sRef_, eventId_, start_, duration_;
    wxString serviceName_;
    EPGSortKey key_;
};

// One service of the bouquet guide: its running and its following event.
// It is a channel payload, so a row can be played as it is.
class MyMultiEPGListCtrlItemData : public MyServicePayload {
public:
    MyMultiEPGListCtrlItemData(const wxString& descriptionExtNow, const wxString& sRef,
                               const wxString& eventStart, const wxString& eventIdNow);

    int getMode() const override { return mode_; }
    wxString getSRef() const override { return channelSRef_; }
    void setMode(int mode) { mode_ = mode; }
    void setSRef(const wxString& sRef) { channelSRef_ = sRef; }

    void setEventDescriptionExtendedNext(const wxString& text) { descriptionExtNext_ = text; }
    void setEventStart(const wxString& start) { eventStart_ = start; }
    void setEventIdNext(const wxString& id) { eventIdNext_ = id; }
    // Start of the running event (dates the progress of the row).
    void setEventStartNow(const wxString& start) { eventStartNow_ = start; }

    const wxString& getEventDescriptionExtendedNow() const { return descriptionExtNow_; }
    const wxString& getEventDescriptionExtendedNext() const { return descriptionExtNext_; }
    const wxString& getEventServiceReference() const { return eventSRef_; }
    const wxString& getEventStart() const { return eventStart_; }
    const wxString& getEventIdNow() const { return eventIdNow_; }
    const wxString& getEventIdNext() const { return eventIdNext_; }
    const wxString& getEventStartNow() const { return eventStartNow_; }

private:
    int mode_;
    wxString channelSRef_;
    wxString descriptionExtNow_, descriptionExtNext_, eventSRef_, eventStart_;
    wxString eventIdNow_, eventIdNext_, eventStartNow_;
};

// One timer of the receiver's list.
class MyTimerListCtrlItemData : public wxTreeItemData {
public:
    MyTimerListCtrlItemData(const wxString& sRef, const wxString& name, long eit,
                            const wxString& description, const wxDateTime& start,
                            const wxDateTime& end, long eventType, long afterEventType, long state,
                            long repeated, bool disabled, const wxString& location,
                            const wxString& tag);

    const wxString& getServiceReference() const { return sRef_; }
    const wxString& getEventName() const { return name_; }
    const wxString& getEventDescription() const { return description_; }
    const wxString& getLocation() const { return location_; }
    const wxString& getTag() const { return tag_; }
    const wxDateTime& getStartTime() const { return start_; }
    const wxDateTime& getEndTime() const { return end_; }
    long getEIT() const { return eit_; }
    long getEventType() const { return eventType_; }
    long getAfterEventType() const { return afterEventType_; }
    long getEventState() const { return state_; }
    long getRepeated() const { return repeated_; }
    bool getDisabled() const { return disabled_; }

private:
    wxString sRef_, name_, description_, location_, tag_;
    wxDateTime start_, end_;
    long eit_, eventType_, afterEventType_, state_, repeated_;
    bool disabled_;
};
