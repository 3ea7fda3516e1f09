#pragma once

// The texts by which the host knows the plug-in.

inline constexpr char kPluginName[] = "sdmweaver (v0.8.4.2)";
inline constexpr char kPluginVersion[] = "0.8.4";
inline constexpr char kPluginAuthor[] =
    "<i>The sdmweaver developers, sdmweaver project, 2008-2016</i>";
inline constexpr char kPluginDescription[] =
    "This tool convert from stimulation protocols (*.prt) to design matrices (*.sdm)<P><I>Use of "
    "the tool</I><BR>Before starting the conversion, load a *.vmr.<BR>The protocol file names "
    "(*.prt), functional data names (*.vtc) and motion estimate names (*_3DMC.sdm) are retrieved "
    "from a text file.<BR><I>Notes</I><BR>- Please ensure that the *.vmr or *.vtc file are in the "
    "same directory as the *.prt files, otherwise the protocol cannot be automatically linked to "
    "the *.vtc.<BR>- The *.sdm files are saved in the same directory as the *.vtc file.<BR>- The "
    "number of time points in the design matrix file will depend from the *.vtc file.<BR><I>New "
    "in v0.7:</I> z-Transform motion estimates.<BR><I>New in v0.8:</I> add other external "
    "confounds (in *.sdm file).<BR><I>Added v0.8.2:</I> Filename now also contains VTC "
    "name.<BR><I>0.8.3:</I> Change of resulting file names ((_z) for each confound), automated "
    "recognition of confound names.<BR><I>0.8.4:</I> Bugfix of skipping first protocol "
    "name.<BR>";
