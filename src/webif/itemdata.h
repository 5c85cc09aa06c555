// Payloads carried by the channel tree's items and the track choices' items.
#pragma once

#include "webif/payload.h"
#include <wx/clntdata.h>
#include <wx/string.h>

// A bouquet, provider or service of the channel tree. Owned by its tree item.
class MyChannelItemData : public MyServicePayload {
public:
    // mode: 0 bouquet or provider, 1 TV service, 2 radio service. rawSRef: the
    // reference as the receiver wrote it when sRef differs (a bouquet's blanks
    // are "%20" in sRef).
    MyChannelItemData(int mode, const wxString& sRef, const wxString& provider,
                      const wxString& rawSRef = wxString())
        : mode_(mode), sRef_(sRef), rawSRef_(rawSRef.empty() ? sRef : rawSRef), provider_(provider) {}
    ~MyChannelItemData() override;

    int getMode() const override { return mode_; }
    wxString getSRef() const override { return sRef_; }
    wxString getRawSRef() const override { return rawSRef_; }
    void setTreePos(const wxString& pos) { treePos_ = pos; }
    const wxString& getTreePos() const { return treePos_; }
    const wxString& getProv() const { return provider_; }

private:
    int mode_;
    wxString sRef_;
    wxString rawSRef_;
    wxString treePos_;   // "list.group.bouquet.entry" or "list.3.n"; empty for bouquets
    wxString provider_;  // bouquet or provider the item was listed under
};

// An entry of the audio or video choice. Owned by the choice item.
class MyChoiceItemData : public wxClientData {
public:
    // data: the audio stream's PID (decimal) or the sub-service reference
    explicit MyChoiceItemData(const wxString& data) : data_(data) {}
    ~MyChoiceItemData() override;

    const wxString& getData() const { return data_; }
    void setAudioTrackID(const wxString& id) { audioTrackId_ = id; }
    const wxString& getAudioTrackID() const { return audioTrackId_; }

private:
    wxString data_;
    wxString audioTrackId_;  // the receiver's id, once getAudioTracks matched it
};
