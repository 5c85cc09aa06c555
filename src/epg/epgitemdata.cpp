#include "epg/epgitemdata.h"

MyEPGListCtrlItemData::MyEPGListCtrlItemData(const EventFields& ev, int order)
    : title_(ev.title),
      description_(InformationOrMissing(ev.description)),
      descriptionExt_(InformationOrMissing(StripDVBLineBreaks(ev.descriptionExt))),
      sRef_(ev.sRef),
      eventId_(ev.id),
      start_(ev.start),
      duration_(ev.duration),
      serviceName_(StripEmphasis(ev.serviceName))
{
    ParseSeconds(ev.start, key_.start);
    ParseSeconds(ev.duration, key_.duration);
    key_.title = ev.title;
    key_.order = order;
}

MyMultiEPGListCtrlItemData::MyMultiEPGListCtrlItemData(const wxString& descriptionExtNow,
                                                       const wxString& sRef,
                                                       const wxString& eventStart,
                                                       const wxString& eventIdNow)
    : mode_(ReminderMode(sRef)),
      channelSRef_(sRef),
      descriptionExtNow_(descriptionExtNow),
      descriptionExtNext_(InformationOrMissing(wxString())),
      eventSRef_(sRef),
      eventStart_(eventStart),
      eventIdNow_(eventIdNow)
{
}

MyTimerListCtrlItemData::MyTimerListCtrlItemData(const wxString& sRef, const wxString& name, long eit,
                                                 const wxString& description, const wxDateTime& start,
                                                 const wxDateTime& end, long eventType,
                                                 long afterEventType, long state, long repeated,
                                                 bool disabled, const wxString& location,
                                                 const wxString& tag)
    : sRef_(sRef), name_(name), description_(description), location_(location), tag_(tag),
      start_(start), end_(end), eit_(eit), eventType_(eventType), afterEventType_(afterEventType),
      state_(state), repeated_(repeated), disabled_(disabled)
{
}
